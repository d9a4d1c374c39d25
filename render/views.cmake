target_sources(translit_render_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/PixelView.cpp)
if(WIN32)
  target_sources(translit_render PRIVATE ${CMAKE_CURRENT_LIST_DIR}/PixelView.cpp)
endif()
