if(WIN32)
  translit_add_test(render_skinpaint_parent_test GUI SOURCES SkinPaintParent_test.cpp LIBS translit_skinpaint translit_test_support)
endif()
