# The pixel layer on framework bitmaps (real DIB sections), under Wine.
if(WIN32)
  translit_add_test(render_bitmaps_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/sAlphaGraph_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/sGradient_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/acImageFilters_test.cpp
    LIBS translit_render)
endif()
