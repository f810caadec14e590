# The two kinds of library every folder is built as (DESIGN.md sec. 2):
#
#   palverin_core_library(<name> [SOURCES <files...>] [PUBLIC <libs...>] [PRIVATE <libs...>])
#     The core half of a folder: frames, transactions, records, files, reports. It links Qt Core, Gui,
#     Network or SerialPort and never a widget module: naming Qt6::Widgets, Qt6::Charts or Qt6::PrintSupport,
#     or a view library (made by palverin_ui_library), stops the configure step. A library without sources
#     yet is an interface target; it becomes a static library with its first source.
#
#   palverin_ui_library(<name> SOURCES <files...> [PUBLIC <libs...>] [PRIVATE <libs...>])
#     The view half (X/ui/ as X_ui): windows and dialogs over the core, free to link the widget modules.
#
# At the end of the configure step every core library's link closure is checked again, so a widget module
# added to a core library later by a plain target_link_libraries() call is refused as well.

set(PALVERIN_WIDGET_MODULES Qt6::Widgets Qt6::Charts Qt6::PrintSupport)

# The first widget module or view library among libs, or "" when there is none.
function(_palverin_first_view_library out)
  set(found "")
  foreach(lib IN LISTS ARGN)
    if(lib IN_LIST PALVERIN_WIDGET_MODULES)
      set(found "${lib}")
      break()
    endif()
    if(TARGET "${lib}")
      get_target_property(view "${lib}" PALVERIN_VIEW)
      if(view)
        set(found "${lib}")
        break()
      endif()
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

function(_palverin_refuse_view_library name lib)
  message(FATAL_ERROR
    "Core library '${name}' links '${lib}': core libraries stay free of widgets. "
    "Put windows and dialogs in the folder's ui/ library (palverin_ui_library) instead.")
endfunction()

function(_palverin_link name kind)
  cmake_parse_arguments(L "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  if(kind STREQUAL "core")
    _palverin_first_view_library(view ${L_PUBLIC} ${L_PRIVATE})
    if(view)
      _palverin_refuse_view_library(${name} ${view})
    endif()
  endif()
  if(L_SOURCES)
    add_library(${name} STATIC ${L_SOURCES})
    target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_PUBLIC})
  endif()
  if(kind STREQUAL "core")
    set_property(GLOBAL APPEND PROPERTY PALVERIN_CORE_LIBRARIES ${name})
  else()
    set_target_properties(${name} PROPERTIES PALVERIN_VIEW TRUE)
  endif()
endfunction()

function(palverin_core_library name)
  _palverin_link(${name} core ${ARGN})
endfunction()

function(palverin_ui_library name)
  _palverin_link(${name} ui ${ARGN})
endfunction()

# Everything a target links, through the libraries of this project.
function(_palverin_link_closure target out)
  set(seen "")
  set(pending "${target}")
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen "${current}")
    if(NOT TARGET "${current}")
      continue()
    endif()
    get_target_property(type "${current}" TYPE)
    set(props INTERFACE_LINK_LIBRARIES)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND props LINK_LIBRARIES)
    endif()
    foreach(prop IN LISTS props)
      get_target_property(libs "${current}" ${prop})
      if(libs)
        foreach(lib IN LISTS libs)
          # $<LINK_ONLY:x> wraps private dependencies of static libraries.
          string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
          if(NOT lib MATCHES "^\\$<")
            list(APPEND pending "${lib}")
          endif()
        endforeach()
      endif()
    endforeach()
  endwhile()
  list(REMOVE_AT seen 0)
  set(${out} "${seen}" PARENT_SCOPE)
endfunction()

function(palverin_check_core_libraries)
  get_property(cores GLOBAL PROPERTY PALVERIN_CORE_LIBRARIES)
  foreach(core IN LISTS cores)
    _palverin_link_closure(${core} closure)
    _palverin_first_view_library(view ${closure})
    if(view)
      _palverin_refuse_view_library(${core} ${view})
    endif()
  endforeach()
endfunction()

# Runs the closure check once every folder has been read.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL palverin_check_core_libraries)
