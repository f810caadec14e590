# Scans the main window's view half (the menu command groups and the windows of app/ui) for talk with the
# controller that does not go through a command session of the app core: a call on the link's transfer
# objects (dataTx, ethernet, usb, spi, pp, the transaction pump), a link check or transaction of its own, or
# an include of a header that carries them.
#   cmake -DROOT=<source root> -DFOLDERS="app/commands;app/ui" -P scanlinkcalls.cmake
# Prints one line per refused line ("<file>:<line>: <text>") and fails when there is any.
cmake_minimum_required(VERSION 3.25)

# Link objects that talk to the controller, reached through the program's link or a command frame.
set(member_calls [=[((\.|->)(dataTx|ethernet|usb|spi|socket)(\.|->|\(\))|link(\.|->)(pp|transactions|pump)(\.|->))]=])
# Link classes that send, wait or check on their own.
set(link_classes [=[clink::(DataTx|Ethernet|USB|Spi|SpiDriver|PpExchange|LinkCheck|Transaction|TransactionPump|EthernetLink)([^A-Za-z0-9_]|$)]=])
# Headers of those classes.
set(link_headers [=[#[ \t]*include[ \t]*["<]link/(datatx|ethernet|ethernetlink|usb|spi|ppexchange|linkcheck|transaction|cancontroller|portio|ftdidevice|libftdidevice)\.h[">]]=])

set(refused "")
foreach(folder IN LISTS FOLDERS)
  file(GLOB sources "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
  list(SORT sources)
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" lines)
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      string(REGEX REPLACE "//.*$" "" code "${line}")
      if(code MATCHES "${member_calls}" OR code MATCHES "${link_classes}" OR code MATCHES "${link_headers}")
        file(RELATIVE_PATH name "${ROOT}" "${source}")
        string(STRIP "${line}" text)
        string(APPEND refused "${name}:${number}: ${text}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(refused)
  message("${refused}")
  message(FATAL_ERROR "The view half talks to the controller outside the command sessions")
endif()
