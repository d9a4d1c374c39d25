# The gradient text parser and the gradient painters it feeds.
#   fuzz/run gradient [SECONDS]
# Seeds: fuzz/seeds/gradient (six bytes placing the rectangle and texture,
# then gradient text). Inputs that once failed are cases of
# GradientKernels_test.
translit_add_fuzzer(fuzz_gradient SOURCES ${CMAKE_CURRENT_LIST_DIR}/gradient_fuzz.cpp LIBS translit_pixels
  DICT ${CMAKE_CURRENT_LIST_DIR}/gradient.dict
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/gradient)
target_compile_options(translit_pixels PRIVATE -fsanitize=fuzzer-no-link)
