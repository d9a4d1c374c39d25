# The pixel layer: portable kernels (bitmap operations, gradients, filters)
# and, on Windows, their entry points on framework bitmaps.
target_sources(translit_render_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PixelKernels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PixelKernelsSse2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PixelKernelsAvx2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AlphaKernels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GradientKernels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FilterKernels.cpp)
if(WIN32)
  target_sources(translit_render PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/sAlphaGraph.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sGradient.cpp
    ${CMAKE_CURRENT_LIST_DIR}/acImageFilters.cpp)
endif()
