# libjpeg for the skin loader's JPEG textures, as the imported target
# Translit::Jpeg.
#  - Windows: the static libjpeg-turbo that scripts/deps-win builds from
#    Debian's source for each target processor into
#    ${TRANSLIT_DEPS}/<processor>/jpeg (TRANSLIT_DEPS is passed by
#    scripts/build; it defaults to build/deps of the source tree).
#  - native: the system's libjpeg62-turbo-dev.
include_guard(GLOBAL)

if(WIN32)
  if(NOT TRANSLIT_DEPS)
    set(TRANSLIT_DEPS ${PROJECT_SOURCE_DIR}/build/deps)
  endif()
  get_filename_component(translit_jpeg_root ${TRANSLIT_DEPS}/${CMAKE_SYSTEM_PROCESSOR}/jpeg ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
  if(NOT EXISTS ${translit_jpeg_root}/lib/libjpeg.a OR NOT EXISTS ${translit_jpeg_root}/include/jpeglib.h)
    message(FATAL_ERROR "libjpeg-turbo for mingw is missing in ${translit_jpeg_root}: run scripts/deps-win ${CMAKE_SYSTEM_PROCESSOR}")
  endif()
  add_library(Translit::Jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(Translit::Jpeg PROPERTIES
    IMPORTED_LOCATION ${translit_jpeg_root}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${translit_jpeg_root}/include)
else()
  find_package(JPEG REQUIRED)
  add_library(Translit::Jpeg INTERFACE IMPORTED GLOBAL)
  target_link_libraries(Translit::Jpeg INTERFACE JPEG::JPEG)
endif()
