# The three kinds of library this project builds, each marked with its kind (the PALVERIN_CLASS property):
#
#   palverin_core_library(<name> [SOURCES <files...>] [PUBLIC <libs...>] [PRIVATE <libs...>])
#     The core half of a folder: frames, transactions, records, files, reports. It links Qt Core, Gui,
#     Network or SerialPort and never a widget library or a window library. A library without sources yet
#     is an interface target; it becomes a static library with its first source.
#
#   palverin_ui_library(<name> SOURCES <files...> [PUBLIC <libs...>] [PRIVATE <libs...>])
#     The window half (X/ui/ as X_ui): windows and dialogs over the core sessions, free to link the widget
#     modules.
#
#   palverin_program_library(<name> [OBJECT] SOURCES <files...> [PUBLIC <libs...>] [PRIVATE <libs...>])
#     A part of programs rather than of a layer: the tests' and benchmarks' mains and fixtures (the
#     shown-window fixture builds the link as the program's main does). It may link and call anything.
#
# The rules are checked by the tests labelled "build", from what the build records:
#   - cmake/checkgraph.cmake reads the link graph CMake computes (--graphviz): every library target is of one
#     of the three kinds, no core target reaches a widget library (in any spelling) or a window library, and
#     a core library links only core libraries of the layers before its own (cmake/PalverinLayers.cmake);
#   - cmake/checksymbols.cmake reads the symbols the built objects need (nm): a core object needs nothing a
#     widget or window library defines, a window object calls into the link only where
#     PALVERIN_WINDOW_LINK_CALLS (cmake/PalverinLayers.cmake) allows;
#   - tests/cmake/scanincludes.cmake reads the core files on disk for what neither records: a widget or
#     upward header included, a widget type only named.
# At the end of the configure step this file writes ${CMAKE_BINARY_DIR}/palverin-targets.cmake, the manifest
# those checks read: every library's kind, the core libraries' layers, folders and sources, the built archives
# and the library files of the widget modules and of the link.

# Qt modules that carry widgets, besides every module whose name ends in "Widgets" (their link spelling
# without the "Qt6" or "Qt6::" in front).
set(PALVERIN_WIDGET_MODULES Widgets Charts PrintSupport DataVisualization UiTools Designer Help)

function(_palverin_add_library name class)
  cmake_parse_arguments(L "OBJECT" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  if(L_OBJECT)
    add_library(${name} OBJECT ${L_SOURCES})
    target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
  elseif(L_SOURCES)
    add_library(${name} STATIC ${L_SOURCES})
    target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_PUBLIC})
  endif()
  set_target_properties(${name} PROPERTIES PALVERIN_CLASS ${class})
endfunction()

function(palverin_core_library name)
  _palverin_add_library(${name} core ${ARGN})
endfunction()

function(palverin_ui_library name)
  _palverin_add_library(${name} window ${ARGN})
endfunction()

function(palverin_program_library name)
  _palverin_add_library(${name} program ${ARGN})
endfunction()

# The layer of a core library in PALVERIN_CORE_LAYERS (0 at the bottom), or -1 when it has none.
function(_palverin_core_layer lib out)
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

# A target's sources as paths relative to the source root.
function(_palverin_relative_sources target out)
  get_target_property(dir ${target} SOURCE_DIR)
  get_target_property(sources ${target} SOURCES)
  set(result "")
  if(sources)
    foreach(source IN LISTS sources)
      if(NOT source MATCHES "\\$<")
        get_filename_component(full "${source}" ABSOLUTE BASE_DIR "${dir}")
        file(RELATIVE_PATH rel "${CMAKE_SOURCE_DIR}" "${full}")
        list(APPEND result "${rel}")
      endif()
    endforeach()
  endif()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# Every target this project builds (not the imported ones), in the order of its folders.
function(_palverin_project_targets out)
  set(result "")
  set(pending "${CMAKE_SOURCE_DIR}")
  while(pending)
    list(POP_FRONT pending dir)
    get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    list(APPEND pending ${subdirs})
    get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
    list(APPEND result ${targets})
  endwhile()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The library files behind targets or paths: an imported or built library's file, an interface target's
# libraries.
function(_palverin_library_files out)
  set(files "")
  foreach(item IN LISTS ARGN)
    if(NOT TARGET "${item}")
      if(IS_ABSOLUTE "${item}")
        list(APPEND files "${item}")
      endif()
      continue()
    endif()
    get_target_property(type ${item} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(libs ${item} INTERFACE_LINK_LIBRARIES)
      if(libs)
        _palverin_library_files(lib_files ${libs})
        list(APPEND files ${lib_files})
      endif()
    else()
      list(APPEND files "$<TARGET_FILE:${item}>")
    endif()
  endforeach()
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

# Writes the manifest the checks read (see the top of this file).
function(palverin_write_target_manifest)
  _palverin_project_targets(targets)
  set(text "# Written by the configure step (cmake/PalverinTargets.cmake); read by the layer checks.\n")
  string(APPEND text "set(PALVERIN_SOURCE_ROOT \"${CMAKE_SOURCE_DIR}\")\n")
  set(libraries "")
  set(cores "")
  set(view_folders "")
  set(program_sources "")
  set(top_folders "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(class ${target} PALVERIN_CLASS)
    if(NOT class)
      set(class "")
    endif()
    _palverin_relative_sources(${target} sources)
    foreach(source IN LISTS sources)
      string(REGEX MATCH "^[^/]+/" top "${source}")
      list(APPEND top_folders "${top}")
    endforeach()
    if(type STREQUAL "EXECUTABLE")
      list(APPEND program_sources ${sources})
      string(APPEND text "set(PALVERIN_CLASS_${target} \"${class}\")\n")
      string(APPEND text "set(PALVERIN_LINK_OPTIONS_${target} \"$<TARGET_PROPERTY:${target},LINK_OPTIONS>\")\n")
    endif()
    if(NOT type MATCHES "_LIBRARY$")
      continue()
    endif()
    list(APPEND libraries ${target})
    string(APPEND text "set(PALVERIN_CLASS_${target} \"${class}\")\n")
    string(APPEND text "set(PALVERIN_LINK_OPTIONS_${target} \"$<TARGET_PROPERTY:${target},INTERFACE_LINK_OPTIONS>\")\n")
    if(type STREQUAL "STATIC_LIBRARY")
      string(APPEND text "set(PALVERIN_OBJECTS_${target} \"$<TARGET_FILE:${target}>\")\n")
    elseif(type STREQUAL "OBJECT_LIBRARY")
      string(APPEND text "set(PALVERIN_OBJECTS_${target} \"$<TARGET_OBJECTS:${target}>\")\n")
    endif()
    if(class STREQUAL "core")
      list(APPEND cores ${target})
      _palverin_core_layer(${target} layer)
      get_target_property(dir ${target} SOURCE_DIR)
      file(RELATIVE_PATH folder "${CMAKE_SOURCE_DIR}" "${dir}")
      string(APPEND text "set(PALVERIN_LAYER_${target} ${layer})\n")
      string(APPEND text "set(PALVERIN_FOLDER_${target} \"${folder}\")\n")
      string(APPEND text "set(PALVERIN_SOURCES_${target} \"${sources}\")\n")
    elseif(class STREQUAL "program")
      list(APPEND program_sources ${sources})
    else()
      foreach(source IN LISTS sources)
        get_filename_component(folder "${source}" DIRECTORY)
        list(APPEND view_folders "${folder}")
      endforeach()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES view_folders)
  list(REMOVE_DUPLICATES top_folders)
  string(APPEND text "set(PALVERIN_LIBRARIES \"${libraries}\")\n")
  string(APPEND text "set(PALVERIN_CORES \"${cores}\")\n")
  string(APPEND text "set(PALVERIN_VIEW_FOLDERS \"${view_folders}\")\n")
  string(APPEND text "set(PALVERIN_PROGRAM_SOURCES \"${program_sources}\")\n")
  string(APPEND text "set(PALVERIN_OWNED_TOP_FOLDERS \"${top_folders}\")\n")
  string(APPEND text "set(PALVERIN_WIDGET_MODULES \"${PALVERIN_WIDGET_MODULES}\")\n")
  # The widget modules found, their header folders and their library files.
  set(widget_targets "")
  set(header_dirs "")
  foreach(module IN LISTS PALVERIN_WIDGET_MODULES ITEMS OpenGLWidgets SvgWidgets QuickWidgets)
    if(TARGET Qt6::${module})
      list(APPEND widget_targets Qt6::${module})
      get_target_property(dirs Qt6::${module} INTERFACE_INCLUDE_DIRECTORIES)
      # The module's own folder (.../QtWidgets), not the common Qt include root.
      list(FILTER dirs INCLUDE REGEX "/Qt${module}$")
      list(APPEND header_dirs ${dirs})
    endif()
  endforeach()
  _palverin_library_files(widget_files ${widget_targets})
  _palverin_library_files(link_files ${PALVERIN_LINK_LIBRARIES})
  string(APPEND text "set(PALVERIN_WIDGET_HEADER_DIRS \"${header_dirs}\")\n")
  string(APPEND text "set(PALVERIN_WIDGET_FILES \"${widget_files}\")\n")
  string(APPEND text "set(PALVERIN_LINK_FILES \"${link_files}\")\n")
  string(APPEND text "set(PALVERIN_WINDOW_LINK_CALLS [==[${PALVERIN_WINDOW_LINK_CALLS}]==])\n")
  file(GENERATE OUTPUT "${CMAKE_BINARY_DIR}/palverin-targets.cmake" CONTENT "${text}")
endfunction()

# Writes the manifest once every folder has been read.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL palverin_write_target_manifest)
