# Skin item painting: painters that draw skin sections, masks and textures
# into 32-bit bitmaps. They read the skin manager's tables, so they form a
# library of their own above the skin folder's (Windows only).
if(WIN32)
  file(GLOB paint_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/SkinPaint*.cpp)
  if(paint_sources)
    add_library(translit_skinpaint STATIC ${paint_sources})
    target_include_directories(translit_skinpaint PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(translit_skinpaint PUBLIC translit_render translit_skin translit_controls)
  endif()
endif()
