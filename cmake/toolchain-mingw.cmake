# Cross compiling to Windows with mingw-w64 (posix thread model). Included by
# the two target files, which set translit_triple and CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${translit_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${translit_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${translit_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${translit_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every Windows executable (program and tests) runs under Wine through the
# project's wrapper, which picks the Wine and prefix of the program's
# processor and sets the code page and display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
# Rebuilds of both targets are mostly cache hits where ccache is installed.
find_program(translit_ccache ccache)
if(translit_ccache)
  set(CMAKE_C_COMPILER_LAUNCHER ${translit_ccache})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${translit_ccache})
endif()
