# PNG decoding against libpng, natively (libpng is the native peer).
if(NOT WIN32)
  find_package(PNG REQUIRED)
  add_executable(bench_png ${CMAKE_CURRENT_LIST_DIR}/png_bench.cpp)
  target_include_directories(bench_png PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_png PRIVATE translit_pixels PNG::PNG)
endif()
