# The core libraries from the bottom up, one layer per entry. A core library may link
# only the core libraries of the entries before its own; libraries in one entry do not link each other.
# The graph check (cmake/checkgraph.cmake) refuses any other link, and any core library that is missing
# here; the include scan (tests/cmake/scanincludes.cmake) holds the core sources to the same order.
# The stand-in and the test support sit beside the program's layers, above what they use.
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
# reaches the controller through a session and calls none of their functions, nor compiles link code in
# from a header, except what this list opens to it (patterns over the demangled names):
set(PALVERIN_LINK_LIBRARIES link PkgConfig::LIBFTDI)
set(PALVERIN_WINDOW_LINK_CALLS
  "^clink::ConnectionSetup::"     # the connection window's session
)
