# What the scans of the source tree share: the C++ files on disk below some folders, and a file's lines as a
# CMake list with its code apart from comments and texts.
#   include(sourcefiles.cmake)

# Every C++ file (any spelling of a header or source name) in the folders (relative to root) and below
# them, as full paths, sorted; a target's list of sources is not consulted.
function(palverin_files_below root folders out)
  set(files "")
  foreach(folder IN LISTS folders)
    if(NOT folder)
      continue()
    endif()
    set(globs "")
    foreach(extension h hh hpp hxx inl c cc cpp cxx)
      list(APPEND globs "${root}/${folder}/*.${extension}")
    endforeach()
    file(GLOB_RECURSE found ${globs})
    list(APPEND files ${found})
  endforeach()
  list(REMOVE_DUPLICATES files)
  list(SORT files)
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

# A file's lines, one list item each: the characters a CMake list treats specially are taken out first (a
# bracket becomes a parenthesis, so "a[0].usb" is still a member of something; ";" becomes a blank and "\" the
# escape character, which keeps an escaped quote within its text).
function(palverin_file_lines path out)
  file(READ "${path}" text)
  string(REPLACE "[" "(" text "${text}")
  string(REPLACE "]" ")" text "${text}")
  string(REPLACE ";" " " text "${text}")
  string(ASCII 27 escape)
  string(REPLACE "\\" "${escape}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# A line's code with its characters and texts emptied (escapes and all) and then without its comment.
function(palverin_line_code line out)
  string(ASCII 27 escape)
  string(REGEX REPLACE "'(${escape}.|[^'${escape}])+'" "''" code "${line}")
  string(REGEX REPLACE "\"(${escape}.|[^\"${escape}])*\"" "\"\"" code "${code}")
  string(REGEX REPLACE "//.*$" "" code "${code}")
  set(${out} "${code}" PARENT_SCOPE)
endfunction()
