# PNG decoder tests: the unit tests on both builds; natively also the
# conformance run against libpng on the images of Debian's libpng source
# package and on generated broken files.
set(_png_test_defs)
file(GLOB _png_regression ${CMAKE_CURRENT_LIST_DIR}/pngsuite/regression/*)
if(_png_regression AND NOT WIN32)
  set(_png_test_defs PNG_REGRESSION_DIR="${CMAKE_CURRENT_LIST_DIR}/pngsuite/regression")
endif()
translit_add_test(render_png_decoder_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/PngDecoder_test.cpp
                  LIBS translit_render_core)
target_compile_definitions(render_png_decoder_test PRIVATE ${_png_test_defs})
