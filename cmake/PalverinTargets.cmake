# The two kinds of library every folder is built as:
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
# added to a core library later by a plain target_link_libraries() call is refused as well. Generator
# expressions are looked into: $<BUILD_INTERFACE:Qt6::Widgets> or $<$<CONFIG:Debug>:Qt6::Widgets> name the
# widget module as plainly as Qt6::Widgets does.
#
# The same check keeps the layers: PALVERIN_CORE_LAYERS (cmake/PalverinLayers.cmake) lists the core
# libraries from the bottom up, one layer per entry, and a core library may link only core libraries of the
# layers before its own. A core library missing from the table is refused, so a new one has to take its place.
#
# The check also writes ${CMAKE_BINARY_DIR}/palverin-layers.cmake: each core library's layer, folder and
# sources, the folders of the view libraries, the programs' sources and the widget modules' header folders,
# for the tests that scan the files on disk (tests/cmake/scanincludes.cmake, tests/cmake/scanlinkcalls.cmake).

set(PALVERIN_WIDGET_MODULES Qt6::Widgets Qt6::Charts Qt6::PrintSupport)

# The names a link item stands for: the item itself, or every name inside a generator expression (its
# conditions as well, so a condition never hides a library; a name that is no library is passed over later).
function(_palverin_link_names item out)
  if(NOT item MATCHES "\\$<")
    set(${out} "${item}" PARENT_SCOPE)
    return()
  endif()
  string(REPLACE "::" "@scope@" text "${item}")
  string(REGEX REPLACE "[$<>:,]" ";" text "${text}")
  string(REPLACE "@scope@" "::" text "${text}")
  list(REMOVE_ITEM text "")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The first widget module or view library among libs, or "" when there is none.
function(_palverin_first_view_library out)
  set(names "")
  foreach(item IN LISTS ARGN)
    _palverin_link_names("${item}" item_names)
    list(APPEND names ${item_names})
  endforeach()
  set(found "")
  foreach(lib IN LISTS names)
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
    set_property(GLOBAL APPEND PROPERTY PALVERIN_VIEW_LIBRARIES ${name})
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
        foreach(item IN LISTS libs)
          # $<LINK_ONLY:x> wraps private dependencies of static libraries; other expressions wrap as well.
          _palverin_link_names("${item}" names)
          list(APPEND pending ${names})
        endforeach()
      endif()
    endforeach()
  endwhile()
  list(REMOVE_AT seen 0)
  set(${out} "${seen}" PARENT_SCOPE)
endfunction()

# The layer of a core library in PALVERIN_CORE_LAYERS (0 at the bottom), or -1 when it has none.
function(_palverin_core_layer lib out)
  if(TARGET "${lib}")
    get_target_property(aliased "${lib}" ALIASED_TARGET)
    if(aliased)
      set(lib "${aliased}")
    endif()
  endif()
  set(layer -1)
  set(index 0)
  foreach(entry IN LISTS PALVERIN_CORE_LAYERS)
    string(REGEX REPLACE "[ \t]+" ";" names "${entry}")
    if(lib IN_LIST names)
      set(layer ${index})
      break()
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${out} ${layer} PARENT_SCOPE)
endfunction()

# Refuses a core library that links a core library of its own layer or one above it.
function(_palverin_check_core_layer core closure)
  _palverin_core_layer(${core} layer)
  if(layer LESS 0)
    message(FATAL_ERROR
      "Core library '${core}' has no layer: add it to PALVERIN_CORE_LAYERS (cmake/PalverinLayers.cmake), "
      "above every core library it links.")
  endif()
  get_property(cores GLOBAL PROPERTY PALVERIN_CORE_LIBRARIES)
  foreach(lib IN LISTS closure)
    if(NOT TARGET "${lib}")
      continue()
    endif()
    get_target_property(aliased "${lib}" ALIASED_TARGET)
    if(aliased)
      set(lib "${aliased}")
    endif()
    if(NOT lib IN_LIST cores OR lib STREQUAL core)
      continue()
    endif()
    _palverin_core_layer(${lib} lib_layer)
    if(lib_layer LESS 0 OR NOT lib_layer LESS layer)
      message(FATAL_ERROR
        "Core library '${core}' links '${lib}', which is not below it: a core library links only core "
        "libraries of the layers before its own in PALVERIN_CORE_LAYERS (cmake/PalverinLayers.cmake). "
        "A call upward goes through a hook set by the composition root.")
    endif()
  endforeach()
endfunction()

# The folder of a path relative to the source root ("" for the root itself).
function(_palverin_relative_folder path out)
  file(RELATIVE_PATH rel "${CMAKE_SOURCE_DIR}" "${path}")
  set(${out} "${rel}" PARENT_SCOPE)
endfunction()

# A target's sources as paths relative to the source root.
function(_palverin_relative_sources target out)
  get_target_property(dir ${target} SOURCE_DIR)
  get_target_property(sources ${target} SOURCES)
  set(result "")
  if(sources)
    foreach(source IN LISTS sources)
      if(source MATCHES "\\$<")
        continue()
      endif()
      get_filename_component(full "${source}" ABSOLUTE BASE_DIR "${dir}")
      _palverin_relative_folder("${full}" rel)
      list(APPEND result "${rel}")
    endforeach()
  endif()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The sources of the programs (executables) built in this project and its folders below, relative to the
# source root: a program's own files sit beside the core libraries it links (the stand-in's main file in sim/)
# without being part of one.
function(_palverin_program_sources out)
  set(result "")
  set(pending "${CMAKE_SOURCE_DIR}")
  while(pending)
    list(POP_FRONT pending dir)
    get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    list(APPEND pending ${subdirs})
    get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type STREQUAL "EXECUTABLE")
        _palverin_relative_sources(${target} sources)
        # Its source files only: a header may be included by a library as well.
        list(FILTER sources INCLUDE REGEX "\\.(c|cc|cpp|cxx)$")
        list(APPEND result ${sources})
      endif()
    endforeach()
  endwhile()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# Writes what the include scan needs to know about the libraries (see the top of this file).
function(_palverin_write_layer_manifest)
  get_property(cores GLOBAL PROPERTY PALVERIN_CORE_LIBRARIES)
  get_property(views GLOBAL PROPERTY PALVERIN_VIEW_LIBRARIES)
  set(text "# Written by the configure step (cmake/PalverinTargets.cmake); read by tests/cmake/scanincludes.cmake.\n")
  string(APPEND text "set(PALVERIN_SOURCE_ROOT \"${CMAKE_SOURCE_DIR}\")\n")
  string(APPEND text "set(PALVERIN_CORES \"${cores}\")\n")
  foreach(core IN LISTS cores)
    _palverin_core_layer(${core} layer)
    get_target_property(dir ${core} SOURCE_DIR)
    _palverin_relative_folder("${dir}" folder)
    _palverin_relative_sources(${core} sources)
    string(APPEND text "set(PALVERIN_LAYER_${core} ${layer})\n")
    string(APPEND text "set(PALVERIN_FOLDER_${core} \"${folder}\")\n")
    string(APPEND text "set(PALVERIN_SOURCES_${core} \"${sources}\")\n")
  endforeach()
  set(view_folders "")
  foreach(view IN LISTS views)
    _palverin_relative_sources(${view} sources)
    foreach(source IN LISTS sources)
      get_filename_component(folder "${source}" DIRECTORY)
      list(APPEND view_folders "${folder}")
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES view_folders)
  string(APPEND text "set(PALVERIN_VIEW_FOLDERS \"${view_folders}\")\n")
  _palverin_program_sources(programs)
  string(APPEND text "set(PALVERIN_PROGRAM_SOURCES \"${programs}\")\n")
  set(header_dirs "")
  foreach(module IN LISTS PALVERIN_WIDGET_MODULES)
    if(TARGET ${module})
      get_target_property(dirs ${module} INTERFACE_INCLUDE_DIRECTORIES)
      foreach(dir IN LISTS dirs)
        # The module's own folder (.../QtWidgets), not the common Qt include root.
        string(REPLACE "Qt6::" "Qt" folder_name "${module}")
        if(dir MATCHES "/${folder_name}$")
          list(APPEND header_dirs "${dir}")
        endif()
      endforeach()
    endif()
  endforeach()
  string(APPEND text "set(PALVERIN_WIDGET_HEADER_DIRS \"${header_dirs}\")\n")
  file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/palverin-layers.cmake" CONTENT "${text}" @ONLY)
endfunction()

function(palverin_check_core_libraries)
  get_property(cores GLOBAL PROPERTY PALVERIN_CORE_LIBRARIES)
  foreach(core IN LISTS cores)
    _palverin_link_closure(${core} closure)
    _palverin_first_view_library(view ${closure})
    if(view)
      _palverin_refuse_view_library(${core} ${view})
    endif()
    _palverin_check_core_layer(${core} "${closure}")
  endforeach()
  _palverin_write_layer_manifest()
endfunction()

# Runs the closure check once every folder has been read.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL palverin_check_core_libraries)
