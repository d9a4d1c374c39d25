# 64-bit Windows (x86-64): the engine on 64-bit-only systems, and every
# Windows test on machines that cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(translit_triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
