if(WIN32)
  translit_add_test(render_skinpaint_masks_test GUI SOURCES SkinPaintMasks_test.cpp LIBS translit_skinpaint translit_test_support)
endif()
