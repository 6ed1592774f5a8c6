# Tests of the Windows build (see cmake/mingw-w64-x86_64.cmake): GoogleTest is
# built from the sources Debian's googletest package installs, with the same
# cross compiler, and every test runs under wine inside one persistent wine
# session that the "wine" fixture starts before the first test and ends after
# the last.

set(TORNVEL_GOOGLETEST_SOURCE_DIR /usr/src/googletest
    CACHE PATH "GoogleTest sources for the cross build (Debian package googletest)")
if(NOT EXISTS ${TORNVEL_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${TORNVEL_GOOGLETEST_SOURCE_DIR}: "
                      "apt-get install googletest")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${TORNVEL_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(library gtest gtest_main gmock gmock_main)
  # GoogleTest keeps its own warning flags; the project's -Werror is for tornvel.
  set_property(TARGET ${library} PROPERTY COMPILE_OPTIONS "")
  if(NOT TARGET GTest::${library})
    add_library(GTest::${library} ALIAS ${library})
  endif()
endforeach()

if(NOT TORNVEL_WINE OR NOT TORNVEL_WINESERVER)
  message(FATAL_ERROR "The Windows tests run under wine: apt-get install wine64 wine")
endif()

# Starting wine for every test costs seconds; a persistent server makes each
# start take tens of milliseconds. The first start also creates the prefix.
foreach(action start stop)
  add_test(NAME wine_session_${action}
           COMMAND /usr/bin/env ${TORNVEL_WINE_ENVIRONMENT} /bin/sh
                   ${PROJECT_SOURCE_DIR}/cmake/wine-session.sh ${action} ${TORNVEL_WINE}
                   ${TORNVEL_WINESERVER} ${CMAKE_BINARY_DIR}/wine-session.log)
endforeach()
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
set(TORNVEL_TEST_FIXTURES FIXTURES_REQUIRED wine)
