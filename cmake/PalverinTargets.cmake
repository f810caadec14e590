# The three kinds of library this project builds, each marked with its kind (the PALVERIN_CLASS property):
#
#   palverin_core_library(<name> [SOURCES <files...>] [PUBLIC <libs...>] [PRIVATE <libs...>])
#     The core half of a folder: frames, transactions, records, files, reports. It links Qt Core, Gui,
#     Network or SerialPort and never a widget library or a window library. A library without sources yet
#     is an interface target; it becomes a static library with its first source.
#
#   palverin_ui_library(<name> SOURCES <files...> [PUBLIC <libs...>] [PRIVATE <libs...>])
#     The window half (X/ui/ as X_ui): windows and dialogs over the core sessions, free to link the widget
#     modules. It compiles against the windows' view of the source tree (no link/, no sim/), and neither it
#     nor the core libraries it links pass it the link library (a core links the link privately).
#
#   palverin_program_library(<name> [OBJECT] SOURCES <files...> [PUBLIC <libs...>] [PRIVATE <libs...>])
#     A part of programs rather than of a layer: the tests' and benchmarks' mains and fixtures (the
#     shown-window fixture builds the link as the program's main does). It may link and call anything.
#
# The rules are checked by the tests labelled "build", from what the build gives each target and what it
# made of it:
#   - cmake/checkgraph.cmake configures the source tree afresh in every configuration (Debug, Release,
#     RelWithDebInfo, MinSizeRel and any other one a generator expression names) and reads what CMake gives
#     each target (its file API): the files each target compiles with their include paths, definitions,
#     options and precompiled headers, and the link line of every program and of a probe program per core
#     library. Every library is of one of the three kinds and compiles only files of its kind of folder
#     (cmake/PalverinLayers.cmake); no core target reaches a widget or window library by any route (a target,
#     a name, a -l or linker option, a file, a response file, an imported target, a library of another
#     name, a configuration of its own), nor compiles with the widget headers in its include path; a core
#     library links only core libraries below its own; a window links no link library, takes none through
#     what it links, and compiles with no header of the link in reach;
#   - cmake/checkheaders.cmake reads the headers the compiler read for each built object (the build's own
#     dependency records): a core object read no widget header, no window's header and no header of a core
#     library not below its own; a window object read no header of the link;
#   - cmake/checksymbols.cmake reads the symbols the built objects need and the libraries each built core
#     program needs: a core object needs nothing a widget or window library defines and loads no library at
#     run time, a core program needs no widget library, and a window object calls nothing of the link's and
#     compiles none of its code in;
#   - tests/cmake/scanincludes.cmake reads the core files on disk for what none of these records: a widget or
#     upward header included, a widget type only named.
# At the end of the configure step this file writes ${CMAKE_BINARY_DIR}/palverin-targets.cmake, the manifest
# those checks read: every target's kind, folder, sources, built files and the libraries it names, the core
# libraries' layers, and the headers and library files of the widget modules and of the link.

# The source tree as the windows see it: a folder of links to the source root's folders, leaving out the
# link's and the stand-in's (PALVERIN_WINDOW_HIDDEN_FOLDERS), so that "link/controllerlink.h" is no file to a
# window, whether it names it or a core header it includes does.
set(PALVERIN_WINDOW_ROOT "${CMAKE_BINARY_DIR}/palverin-window-root")
file(REMOVE_RECURSE "${PALVERIN_WINDOW_ROOT}")
file(MAKE_DIRECTORY "${PALVERIN_WINDOW_ROOT}")
file(GLOB _palverin_top_entries LIST_DIRECTORIES true RELATIVE "${CMAKE_SOURCE_DIR}" "${CMAKE_SOURCE_DIR}/*")
foreach(entry IN LISTS _palverin_top_entries)
  set(path "${CMAKE_SOURCE_DIR}/${entry}")
  if(IS_DIRECTORY "${path}" AND NOT entry MATCHES "^\\." AND NOT entry IN_LIST PALVERIN_WINDOW_HIDDEN_FOLDERS
     AND NOT EXISTS "${path}/CMakeCache.txt" AND NOT path STREQUAL CMAKE_BINARY_DIR)
    file(CREATE_LINK "${path}" "${PALVERIN_WINDOW_ROOT}/${entry}" SYMBOLIC)
  endif()
endforeach()

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
  if(class STREQUAL "window" AND (L_OBJECT OR L_SOURCES))
    # A window compiles against the windows' view of the source tree, which has no link/ in it.
    set_property(TARGET ${name} PROPERTY INCLUDE_DIRECTORIES "${PALVERIN_WINDOW_ROOT}")
  endif()
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
    string(REGEX REPLACE "[ \t\r\n]+" ";" names "${entry}")
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

# The configurations a project's properties name in generator expressions ($<CONFIG:Name>,
# $<STREQUAL:$<CONFIG>,Name>), besides the usual ones: the graph check configures each of them.
function(_palverin_named_configurations text out)
  set(names "")
  string(REGEX MATCHALL "\\$<CONFIG:[^>$]*>" found "${text}")
  foreach(match IN LISTS found)
    string(REGEX REPLACE "^\\$<CONFIG:(.*)>$" "\\1" match "${match}")
    string(REPLACE "," ";" match "${match}")
    list(APPEND names ${match})
  endforeach()
  string(REGEX MATCHALL "STREQUAL:\\$<CONFIG>,[^>$]*>|STREQUAL:[^,>$]*,\\$<CONFIG>>" found "${text}")
  foreach(match IN LISTS found)
    string(REGEX REPLACE "^STREQUAL:(\\$<CONFIG>,)?([^,>]*)(,\\$<CONFIG>)?>$" "\\2" match "${match}")
    list(APPEND names "${match}")
  endforeach()
  list(REMOVE_DUPLICATES names)
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# The probe programs of the graph check (configured with -DPALVERIN_LAYER_PROBES=ON, never built): one per core
# library, linking that library alone, so that the file API gives the link line and the compile flags that
# anything linking the library is given.
function(_palverin_add_probes cores out)
  set(main "${CMAKE_BINARY_DIR}/palverin-probe.cpp")
  file(WRITE "${main}" "int main() { return 0; }\n")
  set(probes "")
  foreach(core IN LISTS cores)
    set(probe palverin_probe_${core})
    add_executable(${probe} EXCLUDE_FROM_ALL "${main}")
    target_link_libraries(${probe} PRIVATE ${core})
    set_target_properties(${probe} PROPERTIES AUTOMOC OFF PALVERIN_CLASS probe PALVERIN_PROBE_OF ${core})
    list(APPEND probes ${probe})
  endforeach()
  set(${out} "${probes}" PARENT_SCOPE)
endfunction()

# Writes the manifest the checks read (see the top of this file). A target's names (keys) are made C
# identifiers, so that imported targets such as Qt6::Widgets have one too.
function(palverin_write_target_manifest)
  _palverin_project_targets(targets)
  get_property(imported DIRECTORY "${CMAKE_SOURCE_DIR}" PROPERTY IMPORTED_TARGETS)
  set(text "# Written by the configure step (cmake/PalverinTargets.cmake); read by the layer checks.\n")
  string(APPEND text "set(PALVERIN_SOURCE_ROOT \"${CMAKE_SOURCE_DIR}\")\n")
  string(APPEND text "set(PALVERIN_BUILD_DIR \"${CMAKE_BINARY_DIR}\")\n")
  string(APPEND text "set(PALVERIN_CONFIG \"$<CONFIG>\")\n")
  set(libraries "")
  set(executables "")
  set(cores "")
  set(view_folders "")
  set(program_sources "")
  set(top_folders "")
  set(raw_properties "")
  set(aliases "")
  foreach(target IN LISTS targets imported)
    string(MAKE_C_IDENTIFIER "${target}" key)
    get_target_property(type ${target} TYPE)
    # What the target names to link: its own items (LINK_LIBRARIES) and what it passes on to what links it
    # (INTERFACE_LINK_LIBRARIES), both as the generator expressions come out in this configuration; "passes"
    # leaves out what is passed on for linking only ($<LINK_ONLY:...>: a static library's private items), so
    # it is what a target's compile takes from it.
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(raw ${target} ${property})
      if(NOT raw)
        set(raw "")
      endif()
      string(APPEND raw_properties "${raw}\n")
      # The aliases named (app for app_core), with the targets they stand for.
      string(REGEX MATCHALL "[A-Za-z0-9_.+:-]+" names "${raw}")
      foreach(name IN LISTS names)
        if(TARGET "${name}")
          get_target_property(aliased "${name}" ALIASED_TARGET)
          if(aliased)
            string(MAKE_C_IDENTIFIER "${name}" alias_key)
            string(APPEND aliases "set(PALVERIN_ALIAS_${alias_key} \"${aliased}\")\n")
          endif()
        endif()
      endforeach()
      # What may only be evaluated on a link line is taken as it would be there: a link group's or a link
      # feature's libraries (their items then joined by commas), the link language's conditions true.
      string(REGEX REPLACE "\\$<(LINK_GROUP|LINK_LIBRARY|DEVICE_LINK|HOST_LINK):" "$<1:" raw "${raw}")
      string(REGEX REPLACE "\\$<LINK_LANGUAGE:[^>]*>" "1" raw "${raw}")
      string(REPLACE "$<LINK_LANGUAGE>" "CXX" raw "${raw}")
      string(REPLACE "$<LINK_ONLY:" "$<0:" passed "${raw}")
      set_property(TARGET ${target} PROPERTY PALVERIN_EVAL_${property} "${raw}")
      set_property(TARGET ${target} PROPERTY PALVERIN_EVAL_PASSED_${property} "${passed}")
    endforeach()
    set(eval "$<TARGET_GENEX_EVAL:${target},$<TARGET_PROPERTY:${target},PALVERIN_EVAL_LINK_LIBRARIES>>")
    set(eval_interface
        "$<TARGET_GENEX_EVAL:${target},$<TARGET_PROPERTY:${target},PALVERIN_EVAL_INTERFACE_LINK_LIBRARIES>>")
    set(eval_passed
        "$<TARGET_GENEX_EVAL:${target},$<TARGET_PROPERTY:${target},PALVERIN_EVAL_PASSED_INTERFACE_LINK_LIBRARIES>>")
    string(APPEND text "set(PALVERIN_USES_${key} [==[${eval}]==])\n")
    string(APPEND text "set(PALVERIN_LINKS_${key} [==[${eval};${eval_interface}]==])\n")
    string(APPEND text "set(PALVERIN_PASSES_${key} [==[${eval_passed}]==])\n")
    if(target IN_LIST imported)
      string(APPEND text "set(PALVERIN_IMPORTED_${key} TRUE)\n")
      continue()
    endif()
    foreach(property LINK_OPTIONS INTERFACE_LINK_OPTIONS COMPILE_DEFINITIONS INTERFACE_COMPILE_DEFINITIONS
                     COMPILE_OPTIONS INTERFACE_COMPILE_OPTIONS INCLUDE_DIRECTORIES INTERFACE_INCLUDE_DIRECTORIES
                     SOURCES INTERFACE_SOURCES LINK_DIRECTORIES INTERFACE_LINK_DIRECTORIES PRECOMPILE_HEADERS
                     INTERFACE_PRECOMPILE_HEADERS LINK_FLAGS)
      get_target_property(raw ${target} ${property})
      if(raw)
        string(APPEND raw_properties "${raw}\n")
      endif()
    endforeach()
    get_target_property(class ${target} PALVERIN_CLASS)
    if(NOT class)
      set(class "")
    endif()
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH folder "${CMAKE_SOURCE_DIR}" "${dir}")
    _palverin_relative_sources(${target} sources)
    foreach(source IN LISTS sources)
      string(REGEX MATCH "^[^/]+/" top "${source}")
      list(APPEND top_folders "${top}")
    endforeach()
    string(APPEND text "set(PALVERIN_TYPE_${key} \"${type}\")\n")
    string(APPEND text "set(PALVERIN_CLASS_${key} \"${class}\")\n")
    string(APPEND text "set(PALVERIN_FOLDER_${key} \"${folder}\")\n")
    string(APPEND text "set(PALVERIN_SOURCES_${key} \"${sources}\")\n")
    if(type STREQUAL "EXECUTABLE")
      list(APPEND executables ${target})
      list(APPEND program_sources ${sources})
      string(APPEND text "set(PALVERIN_BINARY_${key} \"$<TARGET_FILE:${target}>\")\n")
      string(APPEND text "set(PALVERIN_OBJECT_FILES_${key} \"$<TARGET_OBJECTS:${target}>\")\n")
      continue()
    endif()
    if(NOT type MATCHES "_LIBRARY$")
      continue()
    endif()
    list(APPEND libraries ${target})
    if(type STREQUAL "STATIC_LIBRARY")
      string(APPEND text "set(PALVERIN_OBJECTS_${key} \"$<TARGET_FILE:${target}>\")\n")
    elseif(type STREQUAL "OBJECT_LIBRARY")
      string(APPEND text "set(PALVERIN_OBJECTS_${key} \"$<TARGET_OBJECTS:${target}>\")\n")
    endif()
    if(type MATCHES "^(STATIC|OBJECT|SHARED|MODULE)_LIBRARY$")
      string(APPEND text "set(PALVERIN_OBJECT_FILES_${key} \"$<TARGET_OBJECTS:${target}>\")\n")
    endif()
    if(class STREQUAL "core")
      list(APPEND cores ${target})
      _palverin_core_layer(${target} layer)
      string(APPEND text "set(PALVERIN_LAYER_${key} ${layer})\n")
    elseif(class STREQUAL "program")
      list(APPEND program_sources ${sources})
    else()
      foreach(source IN LISTS sources)
        get_filename_component(source_folder "${source}" DIRECTORY)
        list(APPEND view_folders "${source_folder}")
      endforeach()
    endif()
  endforeach()
  set(probes "")
  if(PALVERIN_LAYER_PROBES)
    _palverin_add_probes("${cores}" probes)
  endif()
  foreach(probe IN LISTS probes)
    get_target_property(core ${probe} PALVERIN_PROBE_OF)
    string(APPEND text "set(PALVERIN_PROBE_OF_${probe} \"${core}\")\n")
  endforeach()
  list(REMOVE_DUPLICATES view_folders)
  list(REMOVE_DUPLICATES top_folders)
  string(APPEND text "${aliases}")
  _palverin_named_configurations("${raw_properties}" configurations)
  string(APPEND text "set(PALVERIN_LIBRARIES \"${libraries}\")\n")
  string(APPEND text "set(PALVERIN_EXECUTABLES \"${executables}\")\n")
  string(APPEND text "set(PALVERIN_IMPORTED \"${imported}\")\n")
  string(APPEND text "set(PALVERIN_PROBES \"${probes}\")\n")
  string(APPEND text "set(PALVERIN_CORES \"${cores}\")\n")
  string(APPEND text "set(PALVERIN_NAMED_CONFIGURATIONS \"${configurations}\")\n")
  string(APPEND text "set(PALVERIN_VIEW_FOLDERS \"${view_folders}\")\n")
  string(APPEND text "set(PALVERIN_WINDOW_FOLDERS \"${PALVERIN_WINDOW_FOLDERS}\")\n")
  string(APPEND text "set(PALVERIN_PROGRAM_FOLDERS \"${PALVERIN_PROGRAM_FOLDERS}\")\n")
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
  _palverin_library_files(qt_core_files Qt6::Core)
  # What a window may not read: the hidden folders, and the headers of the link's own libraries (the USB
  # chip's).
  set(hidden_dirs "")
  foreach(folder IN LISTS PALVERIN_WINDOW_HIDDEN_FOLDERS)
    list(APPEND hidden_dirs "${CMAKE_SOURCE_DIR}/${folder}")
  endforeach()
  # The source folders among them: a folder above one of these brings it in reach as well.
  set(hidden_trees ${hidden_dirs} ${PALVERIN_WINDOW_HIDDEN_DIRS})
  foreach(library IN LISTS PALVERIN_LINK_LIBRARIES)
    if(TARGET ${library})
      get_target_property(imported_library ${library} IMPORTED)
      get_target_property(dirs ${library} INTERFACE_INCLUDE_DIRECTORIES)
      if(imported_library AND dirs)
        list(APPEND hidden_dirs ${dirs})
      endif()
    endif()
  endforeach()
  list(APPEND hidden_dirs ${PALVERIN_WINDOW_HIDDEN_DIRS})
  string(APPEND text "set(PALVERIN_WIDGET_HEADER_DIRS \"${header_dirs}\")\n")
  string(APPEND text "set(PALVERIN_WIDGET_FILES \"${widget_files}\")\n")
  string(APPEND text "set(PALVERIN_LINK_LIBRARIES \"${PALVERIN_LINK_LIBRARIES}\")\n")
  string(APPEND text "set(PALVERIN_LINK_FILES \"${link_files}\")\n")
  string(APPEND text "set(PALVERIN_QT_CORE_FILES \"${qt_core_files}\")\n")
  string(APPEND text "set(PALVERIN_WINDOW_HIDDEN_DIRS \"${hidden_dirs}\")\n")
  string(APPEND text "set(PALVERIN_WINDOW_HIDDEN_TREES \"${hidden_trees}\")\n")
  string(APPEND text "set(PALVERIN_WINDOW_ROOT \"${PALVERIN_WINDOW_ROOT}\")\n")
  get_property(multi GLOBAL PROPERTY GENERATOR_IS_MULTI_CONFIG)
  if(multi)
    set(output "${CMAKE_BINARY_DIR}/palverin-targets-$<CONFIG>.cmake")
  else()
    set(output "${CMAKE_BINARY_DIR}/palverin-targets.cmake")
  endif()
  file(GENERATE OUTPUT "${output}" CONTENT "${text}")
endfunction()

# Writes the manifest once every folder has been read.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL palverin_write_target_manifest)
