# The pixel layer: portable kernels (bitmap operations, gradients, filters)
# and, on Windows, their bitmap-level entry points.
set(render_kernel_sources
  ${CMAKE_CURRENT_LIST_DIR}/PixelKernels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AlphaKernels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GradientKernels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FilterKernels.cpp)
target_sources(translit_render_core PRIVATE ${render_kernel_sources})
