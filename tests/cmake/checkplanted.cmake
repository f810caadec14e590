# Builds the project in tests/cmake/planted with the sources below, runs the checks of the build on it (what
# each target is given, in every configuration; the headers the objects read; the symbols they need) and
# checks that each planted breach is refused, for its reason, and that nothing else is.
#   cmake -DPALVERIN_SOURCE_DIR=<root> -DLINK_ARCHIVE=<the link library built> -DGENERATOR=<generator>
#         -DWORK_DIR=<scratch> -P checkplanted.cmake
cmake_minimum_required(VERSION 3.25)
set(tree "${WORK_DIR}/tree")
set(build "${WORK_DIR}/build")
file(REMOVE_RECURSE "${WORK_DIR}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/planted/CMakeLists.txt" "${tree}/CMakeLists.txt" COPYONLY)

# file|lines (a % stands for a semicolon, which would split this list; @tree@ for the tree's folder). A
# window's link calls: each function of tools/ui/calls.cpp is one breach.
set(sources
  "none.cpp|int none() { return 0% }"
  "low/low.cpp|int low() { return 1% }"
  "panel/ui/panel.h|void panel()%"
  "panel/ui/panel.cpp|#include \"panel/ui/panel.h\"\n#include <QWidget>\nvoid panel() {\n    QWidget window%\n    window.show()%\n}"
  "panel/ui/injected.cpp|int injected() { return 2% }"
  "tests/fixtures.cpp|int fixtures() { return 3% }"
  "tests/main.cpp|int main() { return 0% }"
  "tests/widgets.cpp|#include <QtWidgets/QWidget>\nint main() { return QWidget().isVisible() ? 1 : 0% }"
  "tests/shim.cpp|#include <QWidget>\nvoid shim() { QWidget().show()% }"
  "session/session.h|class Session {\npublic:\n    int status() const%\n}%"
  "session/session.cpp|#include \"session/session.h\"\n#include \"link/linkstate.h\"\nint Session::status() const { return clink::LinkState().ConnectionType% }"
  "console/ui/console.cpp|#include \"session/session.h\"\n#include <QLabel>\nvoid console() {\n    Session session%\n    QLabel label(QString::number(session.status()))%\n    label.show()%\n}"
  "from_ui/ui/view.cpp|#include <QtWidgets/QWidget>\nvoid view() { QWidget().show()% }"
  "rogue/ui/rogue.cpp|#include \"link/controllerport.h\"\nvoid rogue(clink::ControllerLink& link) { clink::reconnectController(link)% }"
  "tools/ui/calls.cpp|#include \"link/controllerlink.h\"\n#include \"link/controllerport.h\"\n#include \"link/linkopening.h\"\n#include \"link/nsmsettings.h\"
void chip(clink::ControllerLink& link) { QByteArray serial% link.ftdi.listFirstSerial(serial)% }
void printerPort(clink::ControllerLink& link) { link.ppdev.setDevice(QString())% link.ppdev.open()% }
void reconnect(clink::ControllerLink& link) { clink::reconnectController(link)% }
void menuGroup(clink::ControllerLink& link) { clink::LinkOpening(link).open()% }
void nsm(clink::ControllerLink& link, clink::NsmSettingsRecord& settings) { clink::fillNsmSettings(settings, link.state.DataBuffer)% }
void split(clink::ControllerLink& link) {\n    link.\n        dataTx.ReadToolEeprom(45)%\n}
void slashes(clink::ControllerLink& link) { const char* path = \"//\"% long limit = 1% link.dataTx.ReadSystemStatus(limit)% (void)path% }
void member(clink::ControllerLink& link) { auto usb = &clink::ControllerLink::usb% (link.*usb).OpenDevice()% }"
  "disguised/ui/window.cpp|#include <QWidget>\nvoid disguised() { QWidget().show()% }"
  "widgets.rsp|-lQt6Widgets"
  "computed/computed.cpp|#define VIEW_HEADER \"panel/ui/panel.h\"\n#include VIEW_HEADER\nvoid computed() { panel()% }"
  "defined/defined.cpp|#include WIDGET_HEADER\nint defined() { return int(sizeof(QWidget))% }"
  "runtime/runtime.cpp|#include <dlfcn.h>\nvoid* charts() { return dlopen(\"libQt6Charts.so.6\", RTLD_NOW)% }"
  "loader/loader.cpp|#include <QLibrary>\nbool printing() {\n    QLibrary library(QStringLiteral(\"Qt6PrintSupport\"))%\n    return library.load()%\n}"
  "inline/ui/inline.cpp|#include \"link/linkstate.h\"\nvoid chooseEthernet(clink::LinkState& s) { s.ConnectionType = clink::TcpIp% }"
  "link/planted.h|#pragma once\nnamespace clink {\nstruct PlantedState {\n    int ConnectionType = 0%\n}%\ninline void plant(PlantedState& s) { s.ConnectionType = 2% }\n}"
  "relative/ui/relative.cpp|#include \"../../link/planted.h\"\nvoid relative(clink::PlantedState& s) { clink::plant(s)% }"
  "absolute/ui/absolute.cpp|#include \"@tree@/link/planted.h\"\nvoid absolute(clink::PlantedState& s) { clink::plant(s)% }"
  "chip/ui/chip.cpp|struct ftdi_context%\nextern \"C\" int ftdi_write_data(ftdi_context* ftdi, const unsigned char* buf, int size)%\nint chip(ftdi_context* ftdi) {\n    const unsigned char byte = 0%\n    return ftdi_write_data(ftdi, &byte, 1)%\n}"
  "dirwide/CMakeLists.txt|link_libraries(Qt6::Widgets)\npalverin_core_library(dirwide SOURCES \${CMAKE_SOURCE_DIR}/none.cpp PUBLIC Qt6::Core)"
  "stdlibs/CMakeLists.txt|set(CMAKE_CXX_STANDARD_LIBRARIES \"-lQt6Charts\")\nadd_executable(stdlibs_test main.cpp)\nset_target_properties(stdlibs_test PROPERTIES PALVERIN_CLASS core)"
  "stdlibs/main.cpp|int main() { return 0% }"
  "objects/ui/objects.cpp|#include <QWidget>\nvoid objects() { QWidget().show()% }"
  "linked/ui/linked.cpp|int linked() { return 4% }"
  "passed/ui/passed.cpp|int passed() { return 5% }"
  "aliased/ui/aliased.cpp|int aliased() { return 6% }"
  "above/ui/above.cpp|int above() { return 7% }"
  "declared/ui/declared.cpp|namespace clink {\nclass ControllerLink%\nvoid reconnectController(ControllerLink& link)%\n}\nvoid declared(clink::ControllerLink& link) { clink::reconnectController(link)% }"
  "low/misplaced.cpp|#include <QWidget>\nvoid misplaced() { QWidget().show()% }"
  "low/escape.cpp|#include <QWidget>\nvoid escape() { QWidget().show()% }")
foreach(entry IN LISTS sources)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 file)
  list(GET parts 1 lines)
  string(REPLACE "%" ";" lines "${lines}")
  string(REPLACE "@tree@" "${tree}" lines "${lines}")
  file(WRITE "${tree}/${file}" "${lines}\n")
endforeach()

# The refusals expected, each a pattern over one line of the checks' output.
set(widget_file "'/.*/libQt6Widgets\\.so[.0-9]*'")
set(link_header ": a header of the link a window may not read")
set(link_call ": a call into the link")
set(expected
  # Kinds and folders.
  "^rogue_ui: a library that is neither core, window nor program"
  "^helpers: a library that is neither core, window nor program"
  "^from_ui: core, compiles 'from_ui/ui/view\\.cpp' of a view folder"
  "^disguised_ui: a program library that compiles 'disguised/ui/window\\.cpp' of a window folder"
  "^misplaced_ui: a window library that compiles 'low/misplaced\\.cpp' of a core folder"
  "^escape: a program library that compiles 'low/escape\\.cpp' of a core folder"
  "^injects: core, passes on 'panel/ui/injected\\.cpp' of a view folder to what links it"
  # Layers.
  "^via_view: core, depends on the window library 'panel_ui'"
  "^later: core, links 'high', which is not below it"
  "^upward: core, links 'high', which is not below it"
  "^same_layer: core, links 'peer', which is not below it"
  "^stray: core library without a layer"
  # The widget library by a target, a name, a -l, a file, a linker option, in every spelling.
  "^direct: core, depends on the widget library 'Qt6::Widgets'$"
  "^direct: core, depends on the widget library ${widget_file}$"
  "^direct: core, passes on the widget headers in '.*/QtWidgets'$"
  "^later: core, depends on the widget library 'Qt6::Widgets'$"
  "^wrapped: core, depends on the widget library 'Qt6::PrintSupport'$"
  "^wrapped_later: core, depends on the widget library 'Qt6::Charts' \\(in Debug\\)$"
  "^plain_name: core, depends on the widget library 'Qt6Widgets'$"
  "^link_flag: core, depends on the widget library '-lQt6Widgets'$"
  "^full_path: core, depends on the widget library '/.*/libQt6Charts\\.so[.0-9]*'$"
  "^link_option: core, depends on the widget library '-lQt6PrintSupport'$"
  "^linker_option: core, depends on the widget library '-lQt6Widgets'$"
  "^library_option: core, depends on the widget library '-lQt6Charts'$"
  "^xlinker: core, depends on the widget library '-lQt6PrintSupport'$"
  "^core_flags: core, depends on the widget library '-lQt6Widgets'$"
  "^response: core, depends on the widget library '-lQt6Widgets'$"
  "^imported: core, depends on the widget library ${widget_file}$"
  "^imported_interface: core, depends on the widget library 'Qt6::Charts'$"
  "^release_only: core, depends on the widget library 'Qt6::Widgets' \\(in Release\\)$"
  "^custom_config: core, depends on the widget library 'Qt6::Charts' \\(in Shipping\\)$"
  "^streq_config: core, depends on the widget library 'Qt6::PrintSupport' \\(in Coverage\\)$"
  "^dirwide: core, depends on the widget library 'Qt6::Widgets'$"
  "^dirwide: core, compiles with the widget headers in '.*/QtWidgets'$"
  "^stdlibs_test: core, depends on the widget library '-lQt6Charts'$"
  "^archive_path: core, depends on the window library 'panel_ui'$"
  "^renamed: core, depends on the widget library '-lgui'$"
  "^grouped: core, depends on the widget library '/.*/libQt6Charts\\.so[.0-9]*'$"
  "^through_shared: core, depends on the widget library ${widget_file} through the shared library 'shim'$"
  "^computed_name: core, depends on the widget library 'Qt6::Charts'$"
  "^widget_program: core, depends on the widget library 'Qt6::Widgets'$"
  "^widget_program widget_program: libQt6Widgets\\.so[.0-9]*: a widget module a core program needs$"
  "^widget_program widgets\\.cpp\\.o: .*/QtWidgets/QWidget .*: a widget module's header$"
  # The widget headers by an include path, a definition, an option, a precompiled header, a computed include.
  "^interface_dirs: core, passes on the widget headers in '.*/QtWidgets'$"
  "^defined: core, compiles with the definition 'WIDGET_HEADER=<QtWidgets/QWidget>', which names a widget module$"
  "^defined defined\\.cpp\\.o: .*/QtWidgets/QWidget .*: a widget module's header$"
  "^forced: core, compiles with the option 'QtWidgets/QWidget', which names a widget module$"
  "^forced none\\.cpp\\.o: .*/QtWidgets/QWidget .*: a widget module's header$"
  "^isystem: core, compiles with the option '-isystem.*/QtWidgets', which names a widget module$"
  "^precompiled: core, compiles with the precompiled widget header '<QtWidgets/QWidget>'$"
  "^computed computed\\.cpp\\.o: panel/ui/panel\\.h: a header of a view folder$"
  "^from_ui view\\.cpp\\.o: .*/QtWidgets/QWidget .*: a widget module's header$"
  # Widget and window code in a core's objects, and widget modules loaded at run time.
  "^from_ui view\\.cpp\\.o: QWidget::.*: a widget class symbol$"
  "^computed computed\\.cpp\\.o: panel\\(\\): a symbol of the window library 'panel_ui'$"
  "^objects: core, takes the objects of the window library 'objects_ui'$"
  "^objects objects\\.cpp\\.o: QWidget::.*: a widget class symbol$"
  "^runtime runtime\\.cpp\\.o: dlopen: a library loaded at run time$"
  "^runtime runtime\\.cpp\\.o: libQt6Charts\\.so\\.6: a widget module's library named in a core object$"
  "^loader loader\\.cpp\\.o: QLibrary::load\\(\\): a library loaded at run time$"
  # Windows that reach the link: its library linked or taken, its headers in reach or read, its code called
  # or compiled in.
  "^tools_ui: window, links the link library 'link'$"
  "^tools_ui: window, compiles with the link's headers in reach of '${PALVERIN_SOURCE_DIR}'$"
  "^tools_ui calls\\.cpp\\.o: ${PALVERIN_SOURCE_DIR}/link/controllerlink\\.h .*${link_header}$"
  "^tools_ui calls\\.cpp\\.o: clink::LibFtdiDevice::listFirstSerial\\(QByteArray&\\)${link_call}$"
  "^tools_ui calls\\.cpp\\.o: clink::PortIo::open\\(\\)${link_call}$"
  "^tools_ui calls\\.cpp\\.o: clink::PpdevPortIo::setDevice\\(QString const&\\): link code compiled into a window$"
  "^tools_ui calls\\.cpp\\.o: clink::reconnectController\\(clink::ControllerLink&\\)${link_call}$"
  "^tools_ui calls\\.cpp\\.o: clink::LinkOpening::open\\(\\)${link_call}$"
  "^tools_ui calls\\.cpp\\.o: clink::fillNsmSettings\\(.*${link_call}$"
  "^tools_ui calls\\.cpp\\.o: clink::DataTx::ReadToolEeprom\\(int\\)${link_call}$"
  "^tools_ui calls\\.cpp\\.o: clink::DataTx::ReadSystemStatus\\(long&\\)${link_call}$"
  "^tools_ui calls\\.cpp\\.o: clink::USB::OpenDevice\\(\\)${link_call}$"
  "^inline_ui: window, compiles with the link's headers in reach of '${PALVERIN_SOURCE_DIR}'$"
  "^inline_ui inline\\.cpp\\.o: ${PALVERIN_SOURCE_DIR}/link/linkstate\\.h .*${link_header}$"
  "^relative_ui relative\\.cpp\\.o: link/planted\\.h${link_header}$"
  "^relative_ui relative\\.cpp\\.o: clink::plant\\(clink::PlantedState&\\): link code compiled into a window$"
  "^absolute_ui absolute\\.cpp\\.o: link/planted\\.h${link_header}$"
  "^chip_ui chip\\.cpp\\.o: ftdi_write_data${link_call}$"
  "^linked_ui: window, links the link library 'link'$"
  "^linked_ui: window, compiles with the link's headers in reach of '/.*libftdi1'$"
  "^passed_ui: window, takes the link library 'link' through 'passes'$"
  "^aliased_ui: window, compiles with the link's headers in reach of '<build>/alias'$"
  "^above_ui: window, compiles with the link's headers in reach of '/.*'$"
  "^declared_ui declared\\.cpp\\.o: clink::reconnectController\\(clink::ControllerLink&\\)${link_call}$")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed:\n${out}${err}")
  endif()
endfunction()
run(${CMAKE_COMMAND} -S "${tree}" -B "${build}" -G "${GENERATOR}" -DCMAKE_BUILD_TYPE=Debug
    -DPALVERIN_SOURCE_DIR=${PALVERIN_SOURCE_DIR} -DPALVERIN_LINK_ARCHIVE=${LINK_ARCHIVE})
run(${CMAKE_COMMAND} --build "${build}")

set(output "")
set(configure_args -DPALVERIN_SOURCE_DIR=${PALVERIN_SOURCE_DIR} -DPALVERIN_LINK_ARCHIVE=${LINK_ARCHIVE})
foreach(check graph headers symbols)
  execute_process(COMMAND ${CMAKE_COMMAND} -DMANIFEST=${build}/palverin-targets.cmake -DSOURCE_DIR=${tree}
                          -DWORK_DIR=${WORK_DIR}/graph "-DGENERATOR=${GENERATOR}" -DBUILD_TYPE=Debug
                          "-DCONFIGURE_ARGS=${configure_args}"
                          -P "${PALVERIN_SOURCE_DIR}/cmake/check${check}.cmake"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(result EQUAL 0)
    message(FATAL_ERROR "The ${check} check passed the planted project:\n${out}${err}")
  endif()
  string(APPEND output "${out}${err}")
endforeach()
string(REPLACE "\n" ";" lines "${output}")
list(FILTER lines INCLUDE REGEX "^[A-Za-z_][A-Za-z0-9_ .+-]*: .")
list(FILTER lines EXCLUDE REGEX "^CMake ")
foreach(pattern IN LISTS expected)
  set(found "")
  foreach(line IN LISTS lines)
    if(line MATCHES "${pattern}")
      set(found "${line}")
      list(REMOVE_ITEM lines "${line}")
      break()
    endif()
  endforeach()
  if(NOT found)
    message(FATAL_ERROR "not refused: ${pattern}\n${output}")
  endif()
  message(STATUS "refused: ${found}")
endforeach()
# A planted target or object may be refused for more than the one reason looked for; nothing else may be.
foreach(line IN LISTS lines)
  string(REGEX MATCH "^[^:]+" place "${line}")
  string(REPLACE "." "\\." place "${place}")
  string(FIND "${expected}" "^${place}:" planted)
  if(planted LESS 0)
    message(FATAL_ERROR "refused beyond what was planted: ${line}\n${output}")
  endif()
endforeach()
