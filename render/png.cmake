# PNG decoding: the portable decoder in the core, the framework graphic on
# Windows. zlib inflates the image data: the system library natively, the
# static mingw build of it for the program (no DLL beside the executable).
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)
if(WIN32)
  get_target_property(_png_zlib ZLIB::ZLIB IMPORTED_LOCATION)
  if(NOT _png_zlib)
    set(_png_zlib ${ZLIB_LIBRARY})
  endif()
  if(_png_zlib MATCHES "\\.dll\\.a$")
    message(FATAL_ERROR "zlib must be linked statically, found the import library ${_png_zlib}")
  endif()
endif()

target_sources(translit_render_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/PngDecoder.cpp)
target_link_libraries(translit_render_core PUBLIC ZLIB::ZLIB)

if(WIN32 AND EXISTS ${CMAKE_CURRENT_LIST_DIR}/acPNG.cpp AND EXISTS ${PROJECT_SOURCE_DIR}/framework/Graphics.h)
  target_sources(translit_render PRIVATE ${CMAKE_CURRENT_LIST_DIR}/acPNG.cpp)
endif()
