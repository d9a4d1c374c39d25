# 32-bit Windows (i686): the product.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(translit_triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
