# Checks that every source of the product includes only its own layer and the
# layers below it:
#   cmake -DSOURCES=<src folder> -P cmake/check-layers.cmake
# Each include of a project header outside what the file's layer may see is
# named with the rule it breaks, and the check fails. A quoted include is
# found as the compiler finds it: beside the including file first ("x.h",
# "../layer/x.h"), else under src/ ("layer/x.h"). Tests beside the code are
# held to their layer too; standard headers (<...>) are not looked at.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCES)
  message(FATAL_ERROR "usage: cmake -DSOURCES=<src folder> -P check-layers.cmake")
endif()
get_filename_component(SOURCES "${SOURCES}" ABSOLUTE)

# What each layer may include besides itself, lowest first.
set(allowed_platform "")
set(allowed_definitions "platform")
set(allowed_statements "definitions;platform")
set(allowed_readers "definitions;platform")
set(allowed_driver "statements;readers;definitions;platform")
set(layers platform definitions statements readers driver)

set(broken 0)
foreach(layer ${layers})
  file(GLOB files RELATIVE ${SOURCES} ${SOURCES}/${layer}/*.cc ${SOURCES}/${layer}/*.h)
  list(FILTER files EXCLUDE REGEX "_fuzz\\.(cc|h)$")
  set(visible ${layer} ${allowed_${layer}})
  list(JOIN allowed_${layer} " and " rule)
  if(rule STREQUAL "")
    set(rule "nothing else")
  endif()
  foreach(file ${files})
    file(STRINGS ${SOURCES}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
      get_filename_component(beside "${SOURCES}/${layer}/${header}" ABSOLUTE)
      if(EXISTS "${beside}" OR header MATCHES "^\\.")
        file(RELATIVE_PATH found "${SOURCES}" "${beside}")
      else()
        set(found "${header}")
      endif()
      string(REGEX MATCH "^[^/]*" folder "${found}")
      list(FIND layers "${folder}" known)
      list(FIND visible "${folder}" seen)
      if(known GREATER -1 AND seen EQUAL -1)
        message("src/${file} includes ${header}; ${layer} may include ${rule}")
        math(EXPR broken "${broken} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(broken GREATER 0)
  message(FATAL_ERROR "${broken} include(s) break the layering")
endif()
message(STATUS "Every include of ${SOURCES} keeps to the layering")
