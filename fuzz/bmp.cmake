# BMP headers: the file header, every info header form, masks, palette and
# pixel offset (render/pixels/BmpHeader.h).
#   fuzz/run bmp [SECONDS]
# Seeds: BMP files of every form written by fuzz/bmp_seeds.cpp at build time,
# and the inputs kept from earlier runs (tests/render/pixels/bmp/regression,
# fuzz/keep-input; also read by render_bmp_header_test).
add_executable(fuzz_bmp_make_seeds ${CMAKE_CURRENT_LIST_DIR}/bmp_seeds.cpp)
target_include_directories(fuzz_bmp_make_seeds PRIVATE ${PROJECT_SOURCE_DIR})
translit_fuzz_regressions(_bmp_regression ${PROJECT_SOURCE_DIR}/tests/render/pixels/bmp/regression)
translit_add_fuzzer(fuzz_bmp SOURCES ${CMAKE_CURRENT_LIST_DIR}/bmp_fuzz.cpp LIBS translit_pixels
  DICT ${CMAKE_CURRENT_LIST_DIR}/bmp.dict
  SEEDS ${TRANSLIT_FUZZ_SEEDS}/bmp ${_bmp_regression}
  SEED_COMMANDS COMMAND $<TARGET_FILE:fuzz_bmp_make_seeds> ${TRANSLIT_FUZZ_SEEDS}/bmp)
add_dependencies(fuzz_bmp_seeds fuzz_bmp_make_seeds)
target_compile_options(translit_pixels PRIVATE -fsanitize=fuzzer-no-link)
