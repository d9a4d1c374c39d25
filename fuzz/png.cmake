# The PNG decoder.
#   fuzz/run png [SECONDS]
# Seeds: the PNG test images of Debian's libpng source package (fetched once
# into the build folder by tests/render/pixels/pngsuite/fetch.sh), the broken
# and re-chunked files png_make_cases writes from them, and the inputs kept
# from earlier runs (tests/render/pixels/pngsuite/regression, also read by
# render_png_decoder_test; fuzz/keep-input puts an input there with its
# checksums made right, since the fuzz build takes any CRC and Adler-32
# value and the normal build does not). Without seeds the fuzzer stays at
# the signature and the CRC of the first chunk.
set(_png_suite ${CMAKE_CURRENT_BINARY_DIR}/pngsuite)
set(_png_cases ${TRANSLIT_FUZZ_SEEDS}/pngcases)
find_package(ZLIB REQUIRED)
add_executable(fuzz_png_make_cases ${PROJECT_SOURCE_DIR}/tests/render/pixels/pngsuite/png_make_cases.cpp)
target_include_directories(fuzz_png_make_cases PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(fuzz_png_make_cases PRIVATE ZLIB::ZLIB)
translit_fuzz_regressions(_png_regression ${PROJECT_SOURCE_DIR}/tests/render/pixels/pngsuite/regression)
translit_add_fuzzer(fuzz_png SOURCES ${CMAKE_CURRENT_LIST_DIR}/png_fuzz.cpp LIBS translit_pixels
  DICT ${CMAKE_CURRENT_LIST_DIR}/png.dict
  SEEDS ${_png_suite}/pngsuite ${_png_suite}/pngsuite/interlaced ${_png_suite}/testpngs
        ${_png_suite}/testpngs/crashers ${_png_cases} ${_png_regression}
  SEED_COMMANDS
    COMMAND bash ${PROJECT_SOURCE_DIR}/tests/render/pixels/pngsuite/fetch.sh ${_png_suite}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_png_cases}
    COMMAND $<TARGET_FILE:fuzz_png_make_cases> ${_png_suite} ${_png_cases}
  RUNS 20000)
add_dependencies(fuzz_png_seeds fuzz_png_make_cases)
# Coverage feedback from the decoder, not only from the entry point.
target_compile_options(translit_pixels PRIVATE -fsanitize=fuzzer-no-link)
