# Compiles windows planted below with the very command the build compiles a window of the program with (the
# composition root's window library, which links every window library), and checks that each one that
# names the link, one of its headers, the stand-in or the USB chip's header, or reaches the link through what
# the window context, a session, a module or the command frame gives it, does not compile, for its own reason;
# and that a window over the context and its sessions, as the program's windows are, does.
#   cmake -DCOMPILE_COMMANDS=<build>/compile_commands.json -DWINDOW_SOURCE=<a window source of the program>
#         -DWORK_DIR=<scratch> -P checkwindows.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

# The compile command of the window source, from the build's compilation database.
file(STRINGS "${COMPILE_COMMANDS}" entries REGEX "^  \"(directory|command|file)\": ")
set(directory "")
set(command "")
set(found FALSE)
foreach(entry IN LISTS entries)
  if(entry MATCHES "^  \"(directory|command|file)\": \"(.*)\",?$")
    set(field "${CMAKE_MATCH_1}")
    set(value "${CMAKE_MATCH_2}")
    string(REPLACE "\\\"" "\"" value "${value}")
    string(REPLACE "\\\\" "\\" value "${value}")
    if(field STREQUAL "file")
      if(value STREQUAL WINDOW_SOURCE)
        set(found TRUE)
        break()
      endif()
    else()
      set(${field} "${value}")
    endif()
  endif()
endforeach()
if(NOT found)
  message(FATAL_ERROR "${COMPILE_COMMANDS} has no command for ${WINDOW_SOURCE}")
endif()
separate_arguments(words UNIX_COMMAND "${command}")
# The same command on another source, checking its syntax only and writing nothing.
set(compile "")
set(skip FALSE)
foreach(word IN LISTS words)
  if(skip)
    set(skip FALSE)
  elseif(word MATCHES "^-(o|MT|MF|c)$")
    set(skip TRUE)
  elseif(NOT word MATCHES "^-(MD|MMD)$")
    list(APPEND compile "${word}")
  endif()
endforeach()
list(APPEND compile -fsyntax-only -c)

# name~lines~the diagnostic that refuses it (a % stands for a semicolon).
set(not_found "(: No such file| file not found)")
set(planted
  "link_header~#include \"link/controllerlink.h\"~'?link/controllerlink\\.h'?${not_found}"
  "link_header_angle~#include <link/linkstate.h>~'?link/linkstate\\.h'?${not_found}"
  "computed_link_header~#define LINK_HEADER \"link/spi.h\"\n#include LINK_HEADER~'?link/spi\\.h'?${not_found}"
  "services_header~#include \"app/appservices.h\"~'?link/controllerlink\\.h'?${not_found}"
  "core_header_over_the_link~#include \"app/linkgate.h\"~'?link/canid\\.h'?${not_found}"
  "connection_setup_of_the_link~#include \"link/connectionsetup.h\"~'?link/connectionsetup\\.h'?${not_found}"
  "stand_in~#include \"sim/controllermodel.h\"~'?sim/controllermodel\\.h'?${not_found}"
  "usb_chip_header~#include <ftdi.h>~'?ftdi\\.h'?${not_found}"
  "context_link~#include \"app/ui/appcontext.h\"\nvoid f(app::AppContext& ctx) { (void)ctx.link% }~no member named 'link'"
  "state_fields~#include \"app/ui/appcontext.h\"\nvoid f(app::AppContext& ctx) { ctx.state.ConnectionType = 2% }~no member named 'state'"
  "socket_signals~#include \"app/ui/appcontext.h\"\n#include <QSignalBlocker>\nvoid f(app::AppContext& ctx) { QSignalBlocker blocker(&ctx.link.socket)% }~no member named 'link'"
  "usb_chip~#include \"app/ui/appcontext.h\"\nvoid f(app::AppContext& ctx) { ctx.link.ftdi.write(nullptr, 0)% }~no member named 'link'"
  "services_handle~#include \"app/ui/appcontext.h\"\nvoid f(app::AppContext& ctx) { ctx.services.link.state.ConnectionType = 2% }~incomplete type '(class )?app::AppServices'"
  "session_link~#include \"app/ui/appcontext.h\"\n#include \"app/sessions/toolsession.h\"\nvoid f(app::AppContext& ctx, app::CommandProgress& progress) {\n    app::ToolSession session(ctx.services, progress)%\n    session.state()%\n}~protected"
  "frame_state~#include \"app/ui/commandframe.h\"\nvoid f(app::CommandFrame& frame) { frame.state()% }~no member named 'state'"
  "module_services~#include \"logicio/logicmodule.h\"\nvoid f(logicio::LogicModule& module) { module.services().link.state.ConnectionType = 2% }~incomplete type '(class )?app::AppServices'")
set(control "#include \"app/ui/appcontext.h\"
#include \"monitor/monitorsession.h\"
#include \"pset/psetsession.h\"
void control(app::AppContext& ctx) {
    monitor::MonitorSession monitor(ctx.services)%
    monitor.load()%
    pset::PsetEditorSession editor(ctx.services)%
    (void)ctx.busy.busy()%
}")

function(compile name lines result_var output_var)
  string(REPLACE "%" ";" lines "${lines}")
  set(source "${WORK_DIR}/${name}.cpp")
  file(WRITE "${source}" "${lines}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${compile} "${source}"
    WORKING_DIRECTORY "${directory}" RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result_var} "${result}" PARENT_SCOPE)
  set(${output_var} "${out}${err}" PARENT_SCOPE)
endfunction()

compile(control "${control}" result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "A window over the context and its sessions does not compile:\n${output}")
endif()
message(STATUS "compiles: a window over the context and its sessions")
foreach(entry IN LISTS planted)
  string(REPLACE "~" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 lines)
  list(GET parts 2 reason)
  compile(${name} "${lines}" result output)
  if(result EQUAL 0)
    message(FATAL_ERROR "planted window ${name} compiles")
  endif()
  if(NOT output MATCHES "${reason}")
    message(FATAL_ERROR "planted window ${name} does not compile, but not for its reason (${reason}):\n${output}")
  endif()
  message(STATUS "does not compile: ${name}")
endforeach()
