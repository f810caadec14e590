# Runs the include scan on the program's core sources, which must pass, and on a scratch tree with one
# planted fault per file, which must refuse each planted file, for its own reason, and nothing else.
#   cmake -DMANIFEST=<build>/palverin-layers.cmake -DWORK_DIR=<scratch> -P checkincludes.cmake
cmake_minimum_required(VERSION 3.25)
set(scanner "${CMAKE_CURRENT_LIST_DIR}/scanincludes.cmake")

function(scan manifest result_var output_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest} -P "${scanner}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result_var} "${result}" PARENT_SCOPE)
  set(${output_var} "${out}${err}" PARENT_SCOPE)
endfunction()

scan("${MANIFEST}" result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The program's core sources include what their layer may not:\n${output}")
endif()
message(STATUS "program: the core sources keep the layering")

# The scratch tree: core libraries low and peer on one layer, high above them, and low's view folder.
include("${MANIFEST}")
set(tree "${WORK_DIR}/tree")
file(REMOVE_RECURSE "${tree}")
file(WRITE "${tree}/high/high.h" "int high();\n")
file(WRITE "${tree}/peer/peer.h" "int peer();\n")
file(WRITE "${tree}/low/low.h" "int low();\n")
file(WRITE "${tree}/low/ui/window.h" "class Window;\n")
set(widget "a widget module's header")
set(view "a header of a view library")
set(above_low "a header of 'high', which is not below 'low'")
set(beside_low "a header of 'peer', which is not below 'low'")
# name|include line|reason (empty: the file is clean)
set(planted
  "module_path|#include <QtWidgets/QWidget>|${widget}"
  "module_lower|#include <QtWidgets/qwidget.h>|${widget}"
  "module_whole|  #  include <QtWidgets>|${widget}"
  "class_only|#include <QPushButton>|${widget}"
  "class_lower|#include \"qpushbutton.h\"|${widget}"
  "charts|#include <QChartView>|${widget}"
  "printing|#include <QtPrintSupport/QPrinter>|${widget}"
  "view_root|#include \"low/ui/window.h\"|${view}"
  "view_relative|#include \"ui/window.h\"|${view}"
  "upward_root|#include \"high/high.h\"|${above_low}"
  "upward_angle|#include <high/high.h>|${above_low}"
  "upward_relative|#include \"../high/high.h\"|${above_low}"
  "same_layer|#include \"peer/peer.h\"|${beside_low}"
  "clean|#include \"low/low.h\"\n#include \"low.h\"\n#include <vector>\n#include <QString>\n#include <qaction.h>\n// #include <QWidget>|")
set(sources "low/low.h")
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 line)
  string(REPLACE "\\n" "\n" line "${line}")
  file(WRITE "${tree}/low/${name}.cpp" "// planted\n${line}\nint ${name}() { return 0; }\n")
  list(APPEND sources "low/${name}.cpp")
endforeach()
file(WRITE "${WORK_DIR}/planted.cmake"
  "set(PALVERIN_SOURCE_ROOT \"${tree}\")\n"
  "set(PALVERIN_CORES \"low;peer;high\")\n"
  "set(PALVERIN_LAYER_low 0)\nset(PALVERIN_FOLDER_low low)\nset(PALVERIN_SOURCES_low \"${sources}\")\n"
  "set(PALVERIN_LAYER_peer 0)\nset(PALVERIN_FOLDER_peer peer)\nset(PALVERIN_SOURCES_peer peer/peer.h)\n"
  "set(PALVERIN_LAYER_high 1)\nset(PALVERIN_FOLDER_high high)\nset(PALVERIN_SOURCES_high high/high.h)\n"
  "set(PALVERIN_VIEW_FOLDERS low/ui)\n"
  "set(PALVERIN_WIDGET_HEADER_DIRS \"${PALVERIN_WIDGET_HEADER_DIRS}\")\n")

scan("${WORK_DIR}/planted.cmake" result output)
if(result EQUAL 0)
  message(FATAL_ERROR "The scan passed a tree with planted faults:\n${output}")
endif()
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(LENGTH parts count)
  set(reason "")
  if(count GREATER 2)
    list(GET parts 2 reason)
  endif()
  string(FIND "${output}" "low/${name}.cpp:" at)
  if(reason)
    string(FIND "${output}" "low/${name}.cpp:2: " at)
    string(REGEX MATCH "low/${name}\\.cpp:2: [^\n]*: ([^\n]*)" line "${output}")
    if(at LESS 0 OR NOT CMAKE_MATCH_1 STREQUAL "${reason}")
      message(FATAL_ERROR "planted ${name}: not refused as ${reason}:\n${output}")
    endif()
    message(STATUS "planted ${name}: refused as ${reason}")
  elseif(NOT at LESS 0)
    message(FATAL_ERROR "planted ${name}: a clean file was refused:\n${output}")
  endif()
endforeach()
string(REGEX MATCHALL "\n?[^\n]*\\.cpp:[0-9]+: " lines "${output}")
list(LENGTH lines refused)
list(LENGTH planted planted_count)
math(EXPR expected "${planted_count} - 1")
if(NOT refused EQUAL expected)
  message(FATAL_ERROR "The scan refused ${refused} includes, not the ${expected} planted:\n${output}")
endif()
