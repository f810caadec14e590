# Runs the link-call scan on the main window's menu commands and windows, which must pass, and on a scratch
# tree with one planted call per file, which must refuse each planted file and nothing else.
#   cmake -DPALVERIN_SOURCE_DIR=<source root> -DWORK_DIR=<scratch> -P checklinkcalls.cmake
cmake_minimum_required(VERSION 3.25)
set(scanner "${CMAKE_CURRENT_LIST_DIR}/scanlinkcalls.cmake")
set(view_folders "app/commands;app/ui")

function(scan root result_var output_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${root} "-DFOLDERS=${view_folders}" -P "${scanner}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result_var} "${result}" PARENT_SCOPE)
  set(${output_var} "${out}${err}" PARENT_SCOPE)
endfunction()

scan("${PALVERIN_SOURCE_DIR}" result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The main window's commands talk to the controller outside the command sessions:\n${output}")
endif()
message(STATUS "program: the menu commands reach the controller through their sessions only")

# name|line (each file but "clean" must be refused)
# name|line (each file but "clean" must be refused); the lines leave out their semicolons, which would split
# this list.
set(planted
  "transfer_member|    ctx.link.dataTx.ReadToolEeprom(45)"
  "transfer_accessor|    if (!frame.dataTx().ReadSystemStatus())"
  "raw_frame|    ctx_.link.ethernet.SendFilterFrame(clink::ids::DspReadDone)"
  "line_setting|    link.spi.ResetLineHigh()"
  "usb_pointer|    link->usb.OpenDevice()"
  "socket|    if (!ctx.link.socket.isConnected())"
  "pump|    ctx.link.pump.pause(100)"
  "own_check|    clink::LinkCheck check(ctx.link)"
  "own_transaction|    clink::Transaction tx(link)"
  "header|#include \"link/datatx.h\""
  "header_angle|#  include <link/ethernet.h>"
  "clean|#include \"link/commandcodes.h\"\n    ctx_.pump.stop()\n    // ctx.link.dataTx.ReadToolEeprom(45)\n    session.dataTxCount()")
set(tree "${WORK_DIR}/tree")
file(REMOVE_RECURSE "${tree}")
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 line)
  string(REPLACE "\\n" "\n" line "${line}")
  file(WRITE "${tree}/app/commands/${name}.cpp" "// planted\n${line}\n")
endforeach()
file(WRITE "${tree}/app/ui/window.cpp" "// planted\n    frame.ctx.link.usb.ReopenDevice()\n")

scan("${tree}" result output)
if(result EQUAL 0)
  message(FATAL_ERROR "The scan passed a tree with planted link calls:\n${output}")
endif()
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  set(file "app/commands/${name}.cpp")
  if(name STREQUAL "clean")
    if(output MATCHES "${file}:")
      message(FATAL_ERROR "The scan refused a clean file:\n${output}")
    endif()
  elseif(NOT output MATCHES "${file}:2: ")
    message(FATAL_ERROR "The scan did not refuse ${file}:\n${output}")
  endif()
endforeach()
if(NOT output MATCHES "app/ui/window.cpp:2: ")
  message(FATAL_ERROR "The scan did not look into app/ui:\n${output}")
endif()
message(STATUS "planted: every planted link call refused, the clean file passed")
