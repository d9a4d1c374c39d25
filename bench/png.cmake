# PNG decoding against libpng, libspng and stb_image, with zlib's inflate
# alone as the floor. stb_image is one portable header and is compiled into
# both builds; libpng and libspng are native libraries (their medians are
# handed to the Windows run, see png_bench.cpp).
find_path(TRANSLIT_STB_INCLUDE stb_image.h PATHS /usr/include/stb NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT TRANSLIT_STB_INCLUDE)
  message(FATAL_ERROR "stb_image.h not found: scripts/setup-extra bench installs libstb-dev")
endif()
add_executable(bench_png ${CMAKE_CURRENT_LIST_DIR}/png_bench.cpp)
target_include_directories(bench_png PRIVATE ${PROJECT_SOURCE_DIR})
target_include_directories(bench_png SYSTEM PRIVATE ${TRANSLIT_STB_INCLUDE})
target_link_libraries(bench_png PRIVATE translit_pixels)
if(NOT WIN32)
  find_package(PNG REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SPNG REQUIRED IMPORTED_TARGET spng)
  target_compile_definitions(bench_png PRIVATE TRANSLIT_PEER=1)
  target_link_libraries(bench_png PRIVATE PNG::PNG PkgConfig::SPNG)
endif()
