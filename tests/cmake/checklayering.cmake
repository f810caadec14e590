# Configures tests/cmake/layering for each case and checks that every broken layering rule is refused at
# configure time with its message naming the library at fault, and that a clean layering configures.
#   cmake -DPALVERIN_SOURCE_DIR=<root> -DWORK_DIR=<scratch> -P checklayering.cmake
cmake_minimum_required(VERSION 3.25)
set(widgets "Core library 'feature' links '([^']+)': core libraries stay free of widgets")
set(upward "Core library 'feature' links '([^']+)', which is not below it")
set(no_layer "Core library '([^']+)' has no layer")

function(configure_case case result_var output_var)
  set(build "${WORK_DIR}/${case}")
  file(REMOVE_RECURSE "${build}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S "${PALVERIN_SOURCE_DIR}/tests/cmake/layering" -B "${build}"
            -DPALVERIN_SOURCE_DIR=${PALVERIN_SOURCE_DIR} -DLAYERING_CASE=${case}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${result_var} "${result}" PARENT_SCOPE)
  # The message is wrapped to the terminal's width: compare it with its blanks folded.
  string(REGEX REPLACE "[ \t\r\n]+" " " text "${out}${err}")
  set(${output_var} "${text}" PARENT_SCOPE)
endfunction()

# case=rule=library named
foreach(case_rule_library
    direct=widgets=Qt6::Widgets view=widgets=feature_ui later=widgets=Qt6::Widgets
    wrapped=widgets=Qt6::Widgets wrapped_later=widgets=Qt6::Charts
    upward=upward=high upward_later=upward=high same_layer=upward=peer no_layer=no_layer=stray)
  string(REPLACE "=" ";" parts "${case_rule_library}")
  list(GET parts 0 case)
  list(GET parts 1 rule)
  list(GET parts 2 library)
  configure_case(${case} result output)
  if(result EQUAL 0)
    message(FATAL_ERROR "case ${case}: a core library breaking the rule (${rule}, ${library}) was configured")
  endif()
  string(REGEX MATCH "${${rule}}" found "${output}")
  if(NOT found OR NOT CMAKE_MATCH_1 STREQUAL "${library}")
    message(FATAL_ERROR "case ${case}: the message does not name ${library} for ${rule}:\n${output}")
  endif()
  message(STATUS "case ${case}: refused, naming ${library}")
endforeach()

configure_case(clean result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "case clean: a clean layering was refused:\n${output}")
endif()
message(STATUS "case clean: configured")
