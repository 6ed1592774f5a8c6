# Cross-compiles tornvel for 64-bit Windows with mingw-w64 (Debian package
# g++-mingw-w64-x86-64-posix) and runs the Windows programs under wine (Debian
# package wine64) wherever the build or the tests need to run them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TORNVEL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TORNVEL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORNVEL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TORNVEL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TORNVEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained tornvel.exe: the C++ runtime, libgcc and the threads
# library are linked in, so the program runs without any DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# wine runs the programs: test discovery at build time and every test. Its
# prefix lives in the build tree so that the user's own ~/.wine is never
# touched; WINEDEBUG=-all keeps wine's diagnostics out of the programs'
# output, and the overrides stop wine from offering to install its .NET and
# HTML engines when it creates the prefix. wine turns Windows names into Unix
# ones in the character set of the locale: under C.UTF-8 a name of any
# characters is the same UTF-8 bytes on both sides (under the C locale it
# would not be), so the session and every program run under that locale.
find_program(TORNVEL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
find_program(TORNVEL_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine
             NO_CMAKE_FIND_ROOT_PATH)
if(TORNVEL_WINE)
  set(TORNVEL_WINE_ENVIRONMENT
      LC_ALL=C.UTF-8 WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all
      WINEDLLOVERRIDES=mscoree,mshtml=
      WINELOADER=${TORNVEL_WINE} WINESERVER=${TORNVEL_WINESERVER})
  # cmake/wine-run.sh starts a program again when wine failed to start it.
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env ${TORNVEL_WINE_ENVIRONMENT} /bin/sh
                                    ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${TORNVEL_WINE})
endif()
