# Runs the link-call scan on the windows' folders (every view folder but the composition root, which builds
# the link, and the tests' fixtures), which must pass, and on a scratch tree with one planted call per file,
# which must refuse each planted file and nothing else: in the menu command groups, in a feature's ui/ folder
# and in a folder below it, through an alias, and in files no target lists.
#   cmake -DMANIFEST=<build>/palverin-layers.cmake -DWORK_DIR=<scratch> -P checklinkcalls.cmake
cmake_minimum_required(VERSION 3.25)
set(scanner "${CMAKE_CURRENT_LIST_DIR}/scanlinkcalls.cmake")
include("${MANIFEST}")

function(scan root folders result_var output_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${root} "-DFOLDERS=${folders}" -P "${scanner}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result_var} "${result}" PARENT_SCOPE)
  set(${output_var} "${out}${err}" PARENT_SCOPE)
endfunction()

set(view_folders "")
foreach(folder IN LISTS PALVERIN_VIEW_FOLDERS)
  if(NOT folder STREQUAL "palverin" AND NOT folder MATCHES "^tests/")
    list(APPEND view_folders "${folder}")
  endif()
endforeach()
scan("${PALVERIN_SOURCE_ROOT}" "${view_folders}" result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The windows talk to the controller outside the core sessions:\n${output}")
endif()
message(STATUS "program: the windows reach the controller through their sessions only (${view_folders})")

# file|lines from line 2 on (each file but the clean ones must be refused at line 2). A % stands for a
# semicolon, which would split this list.
set(planted
  "app/commands/transfer_member.cpp|    ctx.link.dataTx.ReadToolEeprom(45)%"
  "app/commands/transfer_accessor.cpp|    if (!frame.dataTx().ReadSystemStatus())"
  "app/commands/raw_frame.cpp|    ctx_.link.ethernet.SendFilterFrame(clink::ids::DspReadDone)%"
  "app/commands/line_setting.cpp|    link.spi.ResetLineHigh()%"
  "app/commands/usb_pointer.cpp|    link->usb.OpenDevice()%"
  "app/commands/socket.cpp|    if (!ctx.link.socket.isConnected())"
  "app/commands/pump.cpp|    ctx.link.pump.pause(100)%"
  "app/commands/own_check.cpp|    clink::LinkCheck check(ctx.link)%"
  "app/commands/own_transaction.cpp|    clink::Transaction tx(link)%"
  "app/commands/header.cpp|#include \"link/datatx.h\""
  "app/commands/header_angle.cpp|#  include <link/ethernet.h>"
  "app/ui/window.cpp|    frame.ctx.link.usb.ReopenDevice()%"
  "app/ui/alias.cpp|    auto& tx = frame.ctx.link.dataTx%\n    tx.ReadToolEeprom(45)%"
  "app/ui/alias_pointer.h|    clink::ControllerLink* link_ = nullptr% auto* usb = &link_->usb%"
  "app/ui/alias_pump.cpp|    auto& pump = ctx_.link.pump%"
  "app/ui/alias_type.cpp|using clink::DataTx% DataTx& tx = transfers()%"
  "feature/ui/frmfeature.cpp|    ctx_.link.dataTx.ReadToolEeprom(45)%"
  "feature/ui/dialogs/unlisted.h|    auto& tx = ctx_.link.dataTx%"
  "feature/ui/element.cpp|    items[0].usb.SendFilterFrame(id)%"
  "feature/ui/namespace.cpp|    using namespace clink% Ethernet& e = link()%"
  "app/commands/clean.cpp|#include \"link/commandcodes.h\"\n    ctx_.pump.stop()%\n    // ctx.link.dataTx.ReadToolEeprom(45)%\n    session.dataTxCount()%\n    session_.check({.usb = clink::UsbCheck::Reopen, .ethernet = clink::EthernetCheck::ConnectedOnly})%\n    box(\"Unable to connect using Ethernet\")%|clean"
  "feature/ui/clean.cpp|    TubeNutSession session_(ctx.link, ctx.busy)%\n    usbLabel->setText(tr(\"USB\"))%|clean")
set(tree "${WORK_DIR}/tree")
file(REMOVE_RECURSE "${tree}")
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 file)
  list(GET parts 1 lines)
  string(REPLACE "%" ";" lines "${lines}")
  file(WRITE "${tree}/${file}" "// planted\n${lines}\n")
endforeach()

scan("${tree}" "app/commands;app/ui;feature/ui" result output)
if(result EQUAL 0)
  message(FATAL_ERROR "The scan passed a tree with planted link calls:\n${output}")
endif()
set(expected 0)
foreach(entry IN LISTS planted)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 file)
  list(LENGTH parts count)
  string(REPLACE "." "\\." pattern "${file}")
  if(count GREATER 2)
    if(output MATCHES "${pattern}:")
      message(FATAL_ERROR "The scan refused a clean file (${file}):\n${output}")
    endif()
  elseif(NOT output MATCHES "${pattern}:2: ")
    message(FATAL_ERROR "The scan did not refuse ${file}:\n${output}")
  else()
    math(EXPR expected "${expected} + 1")
  endif()
endforeach()
string(REGEX MATCHALL "[^\n]*:[0-9]+: [^\n]*" lines "${output}")
list(LENGTH lines refused)
if(NOT refused EQUAL expected)
  message(FATAL_ERROR "The scan refused ${refused} lines, not the ${expected} planted:\n${output}")
endif()
message(STATUS "planted: every planted link call refused, in every window folder and through every alias; "
               "the clean files passed")
