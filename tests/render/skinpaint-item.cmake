if(WIN32)
  translit_add_test(render_skinpaint_item_test GUI SOURCES SkinPaintItem_test.cpp LIBS translit_skinpaint translit_test_support)
endif()
if(WIN32)
  translit_add_test(render_skinpaint_control_text_test GUI SOURCES SkinPaintControlText_test.cpp
    LIBS translit_skinpaint translit_controls translit_test_support)
endif()
if(WIN32)
  translit_add_test(render_skinpaint_control_test GUI SOURCES SkinPaintControl_test.cpp
    LIBS translit_skinpaint translit_controls translit_test_support)
endif()
