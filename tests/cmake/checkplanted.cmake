# Builds the project in tests/cmake/planted with the sources below, runs the graph and symbol checks on it and
# checks that each planted breach is refused, for its reason, and that nothing else is.
#   cmake -DPALVERIN_SOURCE_DIR=<root> -DLINK_ARCHIVE=<the link library built> -DGENERATOR=<generator>
#         -DWORK_DIR=<scratch> -P checkplanted.cmake
cmake_minimum_required(VERSION 3.25)
set(tree "${WORK_DIR}/tree")
set(build "${WORK_DIR}/build")
file(REMOVE_RECURSE "${WORK_DIR}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/planted/CMakeLists.txt" "${tree}/CMakeLists.txt" COPYONLY)

# file|lines (a % stands for a semicolon, which would split this list). A window's link calls outside a
# session: each function of tools/ui/calls.cpp is one breach.
set(sources
  "none.cpp|int none() { return 0% }"
  "low/low.cpp|int low() { return 1% }"
  "panel/ui/panel.cpp|#include \"link/connectionsetup.h\"\n#include <QWidget>\nvoid panel(clink::ControllerLink& link) {\n    clink::ConnectionSetup setup(link)%\n    setup.load()%\n    QWidget window%\n    window.show()%\n}"
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
void member(clink::ControllerLink& link) { auto usb = &clink::ControllerLink::usb% (link.*usb).OpenDevice()% }")
foreach(entry IN LISTS sources)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 file)
  list(GET parts 1 lines)
  string(REPLACE "%" ";" lines "${lines}")
  file(WRITE "${tree}/${file}" "${lines}\n")
endforeach()

# The refusals expected, each a pattern over one line of the checks' output.
set(link_call ": a call into the link outside a session")
set(expected
  "^rogue_ui: a library that is neither core, window nor program"
  "^helpers: a library that is neither core, window nor program"
  "^direct: core, depends on the widget library 'Qt6::Widgets'"
  "^via_view: core, depends on the window library 'panel_ui'"
  "^later: core, depends on the widget library 'Qt6::Widgets'"
  "^later: core, links 'high', which is not below it"
  "^wrapped: core, depends on the widget library 'Qt6::PrintSupport'"
  "^wrapped_later: core, depends on the widget library 'Qt6::Charts'"
  "^upward: core, links 'high', which is not below it"
  "^same_layer: core, links 'peer', which is not below it"
  "^stray: core library without a layer"
  "^plain_name: core, depends on the widget library 'Qt6Widgets'"
  "^link_flag: core, depends on the widget library '-lQt6Widgets'"
  "^full_path: core, depends on the widget library '/.*/libQt6Charts\\.so[.0-9]*'"
  "^link_option: core, depends on the widget library '-Wl,--push-state,-lQt6PrintSupport,--pop-state'"
  "^from_ui: core, compiles 'from_ui/ui/view\\.cpp' of a view folder"
  "^from_ui view\\.cpp\\.o: QWidget::.*: a widget class symbol"
  "^tools_ui calls\\.cpp\\.o: clink::LibFtdiDevice::listFirstSerial\\(QByteArray&\\)${link_call}"
  "^tools_ui calls\\.cpp\\.o: clink::PortIo::open\\(\\)${link_call}"
  "^tools_ui calls\\.cpp\\.o: clink::PpdevPortIo::setDevice\\(QString const&\\): link code compiled into a window"
  "^tools_ui calls\\.cpp\\.o: clink::reconnectController\\(clink::ControllerLink&\\)${link_call}"
  "^tools_ui calls\\.cpp\\.o: clink::LinkOpening::open\\(\\)${link_call}"
  "^tools_ui calls\\.cpp\\.o: clink::fillNsmSettings\\(.*${link_call}"
  "^tools_ui calls\\.cpp\\.o: clink::DataTx::ReadToolEeprom\\(int\\)${link_call}"
  "^tools_ui calls\\.cpp\\.o: clink::DataTx::ReadSystemStatus\\(long&\\)${link_call}"
  "^tools_ui calls\\.cpp\\.o: clink::USB::OpenDevice\\(\\)${link_call}")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed:\n${out}${err}")
  endif()
endfunction()
run(${CMAKE_COMMAND} -S "${tree}" -B "${build}" -G "${GENERATOR}" -DCMAKE_BUILD_TYPE=Debug
    -DPALVERIN_SOURCE_DIR=${PALVERIN_SOURCE_DIR} -DPALVERIN_LINK_ARCHIVE=${LINK_ARCHIVE}
    --graphviz=${build}/graph/planted.dot)
run(${CMAKE_COMMAND} --build "${build}")

set(output "")
foreach(check graph symbols)
  execute_process(COMMAND ${CMAKE_COMMAND} -DMANIFEST=${build}/palverin-targets.cmake
                  -DGRAPH=${build}/graph/planted.dot -P "${PALVERIN_SOURCE_DIR}/cmake/check${check}.cmake"
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
