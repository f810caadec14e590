# The core libraries from the bottom up, one layer per entry. A core library may link
# only the core libraries of the entries before its own; libraries in one entry do not link each other.
# The graph check (cmake/checkgraph.cmake) refuses any other link, and any core library that is missing
# here; the include scan (tests/cmake/scanincludes.cmake) and the header check (cmake/checkheaders.cmake)
# hold the core sources to the same order. The stand-in and the test support sit beside the program's
# layers, above what they use.
set(PALVERIN_CORE_LAYERS
  "base sim_serial"               # number and text rules, the seams; the stand-in's serial peers
  "base_serial"                   # the serial port seam over Qt SerialPort
  "link"                          # the controller link
  "sim"                           # the controller stand-in
  "app_core"                      # the program core
  "controls simhome testsupport"  # graph and numeric-edit calculations; the stand-in's program-folder
                                  # writer; the core tests' fixtures (some of their headers use app core)
  "pset monitor ladder"           # the features over the shared controls
  "logicio"                       # reads ladder files for the converter
  "service"                       # the settings collection drives Psets, logic and ladder
)

# The link's libraries: its transactions, drivers and devices, and the USB chip's library under them. A window
# reaches the controller through a session: it links none of them, calls none of their functions and
# compiles no link code in from a header.
set(PALVERIN_LINK_LIBRARIES link PkgConfig::LIBFTDI)
# The folders a window cannot include from (relative to the source root): the link and the stand-in that
# speaks its frames. The windows compile against a view of the source tree without them
# (cmake/PalverinTargets.cmake), so that a window that names one of their headers does not compile.
set(PALVERIN_WINDOW_HIDDEN_FOLDERS link sim)

# Which kind of library compiles the files of a folder (relative to the source root): the windows' folders
# (every folder named ui and what is below it, and these) by window libraries, the programs' folders by
# program libraries and the programs themselves, every other folder by core libraries. A program compiles
# besides its own main file, beside its CMakeLists.txt.
set(PALVERIN_WINDOW_FOLDERS app/commands palverin)
set(PALVERIN_PROGRAM_FOLDERS tests bench)
