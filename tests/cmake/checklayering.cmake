# Configures tests/cmake/layering for each case and checks that a core library linking a widget module is
# refused at configure time with the layering message, and that a clean layering configures.
#   cmake -DPALVERIN_SOURCE_DIR=<root> -DWORK_DIR=<scratch> -P checklayering.cmake
cmake_minimum_required(VERSION 3.25)
set(expected "Core library 'feature' links '([^']+)': core libraries stay free of widgets")

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

foreach(case_and_library direct=Qt6::Widgets view=feature_ui later=Qt6::Widgets)
  string(REPLACE "=" ";" parts "${case_and_library}")
  list(GET parts 0 case)
  list(GET parts 1 library)
  configure_case(${case} result output)
  if(result EQUAL 0)
    message(FATAL_ERROR "case ${case}: a core library linking ${library} was configured")
  endif()
  string(REGEX MATCH "${expected}" found "${output}")
  if(NOT found OR NOT CMAKE_MATCH_1 STREQUAL "${library}")
    message(FATAL_ERROR "case ${case}: the message does not name ${library}:\n${output}")
  endif()
  message(STATUS "case ${case}: refused, naming ${library}")
endforeach()

configure_case(clean result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "case clean: a clean layering was refused:\n${output}")
endif()
message(STATUS "case clean: configured")
