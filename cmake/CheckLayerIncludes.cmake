# CheckLayerIncludes: the build's guard of the layer order. Run as a script,
#   cmake -DSOURCE_DIR=<src> -P CheckLayerIncludes.cmake
# it reads every `#include "..."` of the .h and .cpp files under SOURCE_DIR
# and fails, naming file and line, where a file of one layer folder includes
# a header of a layer above its own. Includes of other folders (our own
# test support, say) and of no layer are not judged.
#
# The order, from the bottom; a layer may include its own folder and those
# below it.
set(layers platform shell render world gameplay ui app)

if(NOT SOURCE_DIR OR NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "CheckLayerIncludes: SOURCE_DIR must name the source folder")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(SORT files)
set(includePattern "^[ \t]*#[ \t]*include[ \t]*\"([A-Za-z0-9_]+)/[^\"]*\"")
set(upward "")
set(checked 0)

foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" own "${file}")
  list(FIND layers "${own}" ownRank)
  if(ownRank EQUAL -1)
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(READ "${SOURCE_DIR}/${file}" content)
  # Quick look first: most files include nothing from above.
  set(suspect FALSE)
  string(REGEX MATCHALL "#[ \t]*include[ \t]*\"[A-Za-z0-9_]+/" targets "${content}")
  foreach(target IN LISTS targets)
    string(REGEX REPLACE ".*\"([A-Za-z0-9_]+)/$" "\\1" layer "${target}")
    list(FIND layers "${layer}" rank)
    if(rank GREATER ownRank)
      set(suspect TRUE)
    endif()
  endforeach()
  if(NOT suspect)
    continue()
  endif()
  # Line by line for the report; list separators in the text are masked.
  string(REPLACE ";" "<semicolon>" content "${content}")
  string(REPLACE "[" "<open>" content "${content}")
  string(REPLACE "]" "<close>" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line MATCHES "${includePattern}")
      list(FIND layers "${CMAKE_MATCH_1}" rank)
      if(rank GREATER ownRank)
        string(STRIP "${line}" shown)
        list(APPEND upward "${file}:${number}: ${own} includes ${CMAKE_MATCH_1}, a layer above it: ${shown}")
      endif()
    endif()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "CheckLayerIncludes: no file of a layer folder under ${SOURCE_DIR}")
endif()
if(upward)
  # One unwrapped line per include, then the verdict.
  foreach(entry IN LISTS upward)
    message(NOTICE "${entry}")
  endforeach()
  list(LENGTH upward count)
  list(JOIN layers " < " order)
  message(FATAL_ERROR "${count} include(s) run upward (layers: ${order})")
endif()
message(STATUS "CheckLayerIncludes: ${checked} files, no include runs upward")
