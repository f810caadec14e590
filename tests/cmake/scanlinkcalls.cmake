# Scans every header and source on disk in the windows' folders (the menu command groups and each ui/ folder,
# and every folder below them, whether a target lists the file or not) for talk with the controller that does
# not go through a core session: the link's transfer objects (dataTx, ethernet, usb, spi, socket, pp, the
# transaction pump) reached in any way, also when only a reference or a pointer to them is taken
# ("auto& tx = ctx.link.dataTx;"), a link class named (a check or transaction of its own, or an alias of
# one), or an include of a header that carries them.
#   cmake -DROOT=<source root> -DFOLDERS="app/commands;app/ui;pset/ui;..." -P scanlinkcalls.cmake
# Prints one line per refused line ("<file>:<line>: <text>") and fails when there is any.
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/sourcefiles.cmake")

# A transfer object taken from a link or a frame, whatever follows it (a call, a member, the end of an
# alias). A designated initializer (".usb = ...") names no object.
set(member_calls [=[[A-Za-z0-9_)](\.|->)(dataTx|ethernet|usb|spi|socket)([^A-Za-z0-9_]|$)|link(\.|->)(pp|transactions|pump)([^A-Za-z0-9_]|$)]=])
# Link classes that send, wait or check on their own, with or without their namespace.
set(link_classes [=[(^|[^A-Za-z0-9_])(DataTx|Ethernet|USB|Spi|SpiDriver|PpExchange|LinkCheck|Transaction|TransactionPump|EthernetLink)([^A-Za-z0-9_]|$)]=])
# Headers of those classes.
set(link_headers [=[#[ \t]*include[ \t]*["<]link/(datatx|ethernet|ethernetlink|usb|spi|ppexchange|linkcheck|transaction|cancontroller|portio|ftdidevice|libftdidevice)\.h[">]]=])

set(refused "")
palverin_files_below("${ROOT}" "${FOLDERS}" sources)
foreach(source IN LISTS sources)
  palverin_file_lines("${source}" lines)
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    set(code "${line}")
    if(NOT line MATCHES "${link_headers}")
      palverin_line_code("${line}" code)
    endif()
    if(code MATCHES "${member_calls}" OR code MATCHES "${link_classes}" OR code MATCHES "${link_headers}")
      file(RELATIVE_PATH name "${ROOT}" "${source}")
      string(STRIP "${line}" text)
      string(APPEND refused "${name}:${number}: ${text}\n")
    endif()
  endforeach()
endforeach()
if(refused)
  message("${refused}")
  message(FATAL_ERROR "The windows talk to the controller outside the core sessions")
endif()
