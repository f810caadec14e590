# Reads the link graph CMake computed for a build (cmake --graphviz, generator expressions evaluated) with the
# manifest of that build, and refuses
#   - a library target that is neither core, window nor program;
#   - a core target (library or core test program) that depends, directly or through any other target, on a
#     widget library in any spelling (Qt6::Widgets, Qt6Widgets, -lQt6Charts, /usr/lib/.../libQt6PrintSupport.so,
#     a link option), or on a window library;
#   - a core library without a layer, or one that links a core library not below it;
#   - a core library that compiles a file of a view folder (a window's or a program's own folder, or ui/).
#   cmake -DGRAPH=<build>/<graph>.dot -DMANIFEST=<build>/palverin-targets.cmake -P cmake/checkgraph.cmake
#   cmake -DSOURCE_DIR=<root> -DWORK_DIR=<scratch> -DGENERATOR=<generator> [-DBUILD_TYPE=<type>]
#         -P cmake/checkgraph.cmake   (configures the source tree afresh in the scratch folder for its graph)
# Prints one line per refusal ("<target>: <reason>") and fails when there is any.
cmake_minimum_required(VERSION 3.25)
if(SOURCE_DIR)
  file(REMOVE_RECURSE "${WORK_DIR}")
  set(GRAPH "${WORK_DIR}/graph/palverin.dot")
  set(MANIFEST "${WORK_DIR}/palverin-targets.cmake")
  execute_process(COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${WORK_DIR}" -G "${GENERATOR}"
                          -DCMAKE_BUILD_TYPE=${BUILD_TYPE} "--graphviz=${GRAPH}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Configuring ${SOURCE_DIR} failed:\n${out}${err}")
  endif()
endif()
include("${MANIFEST}")

# The edges of the graph, as each node's list of the nodes it depends on.
file(STRINGS "${GRAPH}" edges REGEX "// .+ -> .+$")
foreach(edge IN LISTS edges)
  string(REGEX MATCH "// (.+) -> (.+)$" edge "${edge}")
  string(MAKE_C_IDENTIFIER "${CMAKE_MATCH_1}" from)
  list(APPEND "depends_${from}" "${CMAKE_MATCH_2}")
endforeach()

# Whether a link item names a widget library: a Qt module carrying widgets (or its private part), by target,
# plain name, -l option (also inside a -Wl option) or library file.
function(is_widget_library item out)
  set(found FALSE)
  string(REPLACE "," ";" pieces "${item}")
  foreach(piece IN LISTS pieces)
    string(REGEX REPLACE "^(-l:?|.*/)" "" name "${piece}")
    string(REGEX REPLACE "^lib(.*)\\.(so|a)(\\.[0-9]+)*$" "\\1" name "${name}")
    if(name MATCHES "^Qt[56]?(::)?([A-Za-z]+)$")
      string(REGEX REPLACE "Private$" "" module "${CMAKE_MATCH_2}")
      if(module MATCHES "Widgets$" OR module IN_LIST PALVERIN_WIDGET_MODULES)
        set(found TRUE)
      endif()
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Everything a target reaches through the graph, with the link options of the project's targets among them.
function(reach target out)
  set(seen "")
  set(pending "${target}")
  while(pending)
    list(POP_FRONT pending current)
    if(NOT current IN_LIST seen)
      list(APPEND seen "${current}")
      string(MAKE_C_IDENTIFIER "${current}" key)
      list(APPEND pending ${depends_${key}})
      if(DEFINED "PALVERIN_CLASS_${current}")
        list(APPEND pending ${PALVERIN_LINK_OPTIONS_${current}})
      endif()
    endif()
  endwhile()
  list(REMOVE_AT seen 0)
  set(${out} "${seen}" PARENT_SCOPE)
endfunction()

set(refused "")
macro(refuse target reason)
  string(APPEND refused "${target}: ${reason}\n")
endmacro()

foreach(library IN LISTS PALVERIN_LIBRARIES)
  if(NOT PALVERIN_CLASS_${library} MATCHES "^(core|window|program)$")
    refuse(${library} "a library that is neither core, window nor program")
  endif()
endforeach()

get_cmake_property(variables VARIABLES)
list(FILTER variables INCLUDE REGEX "^PALVERIN_CLASS_")
foreach(variable IN LISTS variables)
  string(REGEX REPLACE "^PALVERIN_CLASS_" "" target "${variable}")
  if(NOT ${variable} STREQUAL "core")
    continue()
  endif()
  reach(${target} reached)
  foreach(node IN LISTS reached)
    is_widget_library("${node}" widget)
    if(widget)
      refuse(${target} "core, depends on the widget library '${node}'")
    elseif(PALVERIN_CLASS_${node} STREQUAL "window")
      refuse(${target} "core, depends on the window library '${node}'")
    elseif(DEFINED PALVERIN_LAYER_${target} AND PALVERIN_CLASS_${node} STREQUAL "core"
           AND DEFINED PALVERIN_LAYER_${node} AND NOT PALVERIN_LAYER_${node} LESS PALVERIN_LAYER_${target})
      refuse(${target} "core, links '${node}', which is not below it")
    endif()
  endforeach()
  if(DEFINED PALVERIN_LAYER_${target} AND PALVERIN_LAYER_${target} LESS 0)
    refuse(${target} "core library without a layer (cmake/PalverinLayers.cmake)")
  endif()
  foreach(source IN LISTS PALVERIN_SOURCES_${target})
    get_filename_component(folder "${source}" DIRECTORY)
    if(folder IN_LIST PALVERIN_VIEW_FOLDERS OR folder MATCHES "(^|/)ui(/|$)")
      refuse(${target} "core, compiles '${source}' of a view folder")
    endif()
  endforeach()
endforeach()

if(refused)
  message("${refused}")
  message(FATAL_ERROR "The link graph breaks the layers")
endif()
message(STATUS "The link graph keeps the layers")
