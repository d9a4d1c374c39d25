# Tests of the pixel layer's portable kernels: natively under the sanitizers
# and, in the Windows build, under Wine.
translit_add_test(render_kernels_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AlphaKernels_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PixelKernels_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GradientKernels_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilterKernels_test.cpp
  LIBS translit_render_core)
