if(WIN32)
  translit_add_test(render_skinpaint_text_test GUI SOURCES SkinPaintText_test.cpp LIBS translit_skinpaint translit_test_support)
endif()
