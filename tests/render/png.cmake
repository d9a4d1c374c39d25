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

if(NOT WIN32)
  # Conformance against libpng, on the images fetched from Debian's source
  # package at test set-up and on the generated cases. A failed fetch fails
  # the set-up test, and with it the run.
  find_package(PNG REQUIRED)
  set(_png_suite ${CMAKE_BINARY_DIR}/pngsuite)
  set(_png_cases ${CMAKE_BINARY_DIR}/pngcases)
  add_test(NAME render_png_fetch_suite COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/pngsuite/fetch.sh ${_png_suite})
  set_tests_properties(render_png_fetch_suite PROPERTIES FIXTURES_SETUP png_suite TIMEOUT 600)

  add_executable(png_make_cases ${CMAKE_CURRENT_LIST_DIR}/pngsuite/png_make_cases.cpp)
  target_include_directories(png_make_cases PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(png_make_cases PRIVATE ZLIB::ZLIB)
  add_test(NAME render_png_make_cases COMMAND png_make_cases ${_png_suite} ${_png_cases})
  set_tests_properties(render_png_make_cases PROPERTIES FIXTURES_SETUP png_cases FIXTURES_REQUIRED png_suite)

  translit_add_test(render_png_conformance_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/PngConformance_test.cpp
                    LIBS translit_render_core PNG::PNG)
  target_compile_definitions(render_png_conformance_test PRIVATE PNG_SUITE_DIR="${_png_suite}"
                             PNG_CASES_DIR="${_png_cases}")
  set_tests_properties(render_png_conformance_test PROPERTIES FIXTURES_REQUIRED "png_suite;png_cases")
endif()

if(WIN32)
  # TPNGGraphic on GDI, under Wine; the resource holds a small picture of ours.
  set(_png_rc ${CMAKE_CURRENT_BINARY_DIR}/png_graphic_test.rc)
  file(WRITE ${_png_rc} "TESTPNG RCDATA \"${CMAKE_CURRENT_LIST_DIR}/pngsuite/resource.png\"\n")
  translit_add_test(render_png_graphic_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/PngGraphic_test.cpp ${_png_rc}
                    LIBS translit_render)
endif()
