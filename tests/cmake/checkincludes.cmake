# Runs the core scan on the program's files, which must pass, and on a scratch tree with planted faults,
# which must refuse every planted line, for its own reason, and nothing else: includes in listed sources,
# in headers no target lists, in folders no target names (below a core folder or at the top) and in a view
# folder's file a core library lists, and widget types a core header only declares, also after a quote
# character or a text holding "//".
#   cmake -DMANIFEST=<build>/palverin-targets.cmake -DWORK_DIR=<scratch> -P checkincludes.cmake
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
  message(FATAL_ERROR "The program's core files include or name what their layer may not:\n${output}")
endif()
message(STATUS "program: the core files keep the layering")

# The scratch tree: core libraries low and peer on one layer, high above them, low's view folder, and the
# main file of a program that links them all.
include("${MANIFEST}")
set(tree "${WORK_DIR}/tree")
file(REMOVE_RECURSE "${tree}")
file(WRITE "${tree}/high/high.h" "int high();\n")
file(WRITE "${tree}/peer/peer.h" "int peer();\n")
file(WRITE "${tree}/low/low.h" "int low();\n")
file(WRITE "${tree}/low/ui/window.h" "class Window;\n")
file(WRITE "${tree}/low/ui/window.cpp" "#include <QWidget>\nQWidget* window;\n")
set(widget "a widget module's header")
set(view "a header of a view library")
set(above_low "a header of 'high', which is not below 'low'")
set(beside_low "a header of 'peer', which is not below 'low'")
set(type "a widget type")
# file|listed by low or not|lines from line 2 on, each refused for the reason (none: the file is clean).
# A % stands for a semicolon, which would split this list.
set(planted
  "low/module_path.cpp|listed|#include <QtWidgets/QWidget>|${widget}"
  "low/module_lower.cpp|listed|#include <QtWidgets/qwidget.h>|${widget}"
  "low/module_whole.cpp|listed|  #  include <QtWidgets>|${widget}"
  "low/class_only.cpp|listed|#include <QPushButton>|${widget}"
  "low/class_lower.cpp|listed|#include \"qpushbutton.h\"|${widget}"
  "low/charts.cpp|listed|#include <QChartView>|${widget}"
  "low/printing.cpp|listed|#include <QtPrintSupport/QPrinter>|${widget}"
  "low/view_root.cpp|listed|#include \"low/ui/window.h\"|${view}"
  "low/view_relative.cpp|listed|#include \"ui/window.h\"|${view}"
  "low/upward_root.cpp|listed|#include \"high/high.h\"|${above_low}"
  "low/upward_angle.cpp|listed|#include <high/high.h>|${above_low}"
  "low/upward_relative.cpp|listed|#include \"../high/high.h\"|${above_low}"
  "low/same_layer.cpp|listed|#include \"peer/peer.h\"|${beside_low}"
  "low/unlisted.h|unlisted|#include <QWidget>|${widget}"
  "low/unlisted_upward.hpp|unlisted|#include \"high/high.h\"|${above_low}"
  "low/deeper/unnamed_folder.h|unlisted|#include \"../../peer/peer.h\"|${beside_low}"
  "low/session.h|listed|class QWidget%\n    QWidget* usable_ = nullptr%|${type}"
  "low/ui/listed.cpp|listed|#include <QWidget>|${widget}"
  "extra/widgets.h|unlisted|#include <QtWidgets/QWidget>|${widget}"
  "extra/upward.h|unlisted|#include \"low/low.h\"|a header of 'low', which is not below 'unowned'"
  "low/quoted.h|listed|char open = '\"'% QWidget* window = nullptr% char close = '\"'%|${type}"
  "low/slashes.h|listed|const char* path = \"//\"% QWidget* window = nullptr%|${type}"
  "low/declared_only.h|unlisted|namespace QtCharts { class QChartView% }\nQtCharts::QChartView* chart()%|${type}"
  "low/clean.cpp|listed|#include \"low/low.h\"\n#include \"low.h\"\n#include <vector>\n#include <QString>\n#include <qaction.h>\n// #include <QWidget>\nclass QObject%\nQAction* a = nullptr% // QWidget\nconst char* t = \"QWidget\"%\nint QWidgetCount = 0%|"
  "low/program.cpp|program|#include \"high/high.h\"\n#include <QApplication>|")
set(sources "low/low.h")
set(programs "")
set(expected 0)
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 file)
  list(GET parts 1 listed)
  list(GET parts 2 lines)
  string(REPLACE "%" ";" lines "${lines}")
  file(WRITE "${tree}/${file}" "// planted\n${lines}\n")
  if(listed STREQUAL "listed")
    list(APPEND sources "${file}")
  elseif(listed STREQUAL "program")
    list(APPEND programs "${file}")
  endif()
endforeach()
file(WRITE "${WORK_DIR}/planted.cmake"
  "set(PALVERIN_SOURCE_ROOT \"${tree}\")\n"
  "set(PALVERIN_CORES \"low;peer;high\")\n"
  "set(PALVERIN_LAYER_low 0)\nset(PALVERIN_FOLDER_low low)\nset(PALVERIN_SOURCES_low \"${sources}\")\n"
  "set(PALVERIN_LAYER_peer 0)\nset(PALVERIN_FOLDER_peer peer)\nset(PALVERIN_SOURCES_peer peer/peer.h)\n"
  "set(PALVERIN_LAYER_high 1)\nset(PALVERIN_FOLDER_high high)\nset(PALVERIN_SOURCES_high high/high.h)\n"
  "set(PALVERIN_VIEW_FOLDERS low/ui)\n"
  "set(PALVERIN_OWNED_TOP_FOLDERS \"low/;peer/;high/\")\n"
  "set(PALVERIN_PROGRAM_SOURCES \"${programs}\")\n"
  "set(PALVERIN_WIDGET_HEADER_DIRS \"${PALVERIN_WIDGET_HEADER_DIRS}\")\n")

scan("${WORK_DIR}/planted.cmake" result output)
if(result EQUAL 0)
  message(FATAL_ERROR "The scan passed a tree with planted faults:\n${output}")
endif()
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 file)
  list(GET parts 2 lines)
  list(LENGTH parts count)
  set(reason "")
  if(count GREATER 3)
    list(GET parts 3 reason)
  endif()
  string(REGEX MATCHALL "\n" breaks "${lines}\n")
  list(LENGTH breaks line_count)
  string(REPLACE "." "\\." pattern "${file}")
  if(NOT reason)
    if(output MATCHES "${pattern}:")
      message(FATAL_ERROR "planted ${file}: a clean file was refused:\n${output}")
    endif()
    continue()
  endif()
  math(EXPR last "${line_count} + 1")
  foreach(number RANGE 2 ${last})
    string(REGEX MATCH "${pattern}:${number}: [^\n]*: ([^\n]*)" line "${output}")
    if(NOT line OR NOT CMAKE_MATCH_1 STREQUAL "${reason}")
      message(FATAL_ERROR "planted ${file}: line ${number} not refused as ${reason}:\n${output}")
    endif()
    math(EXPR expected "${expected} + 1")
  endforeach()
  message(STATUS "planted ${file}: refused as ${reason}")
endforeach()
string(REGEX MATCHALL "[^\n]*:[0-9]+: [^\n]*" lines "${output}")
list(LENGTH lines refused)
if(NOT refused EQUAL expected)
  message(FATAL_ERROR "The scan refused ${refused} lines, not the ${expected} planted:\n${output}")
endif()
