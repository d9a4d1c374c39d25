# The PNG decoder.
#   scripts/setup-extra fuzz
#   cmake -S . -B build/fuzz -DTRANSLIT_FUZZ=ON -DTRANSLIT_SANITIZE=ON -DTRANSLIT_TESTS=OFF \
#     -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
#   cmake --build build/fuzz --target fuzz_png -j2
#   build/fuzz/fuzz/fuzz_png -max_total_time=600 -rss_limit_mb=2048 CORPUS_DIR [SEED_DIR...]
# Seeds: the images a native test run fetches and generates (build/<dir>/pngsuite,
# build/<dir>/pngcases). Inputs that once failed live in
# tests/render/pngsuite/regression and run in render_png_decoder_test.
translit_add_fuzzer(fuzz_png SOURCES ${CMAKE_CURRENT_LIST_DIR}/png_fuzz.cpp LIBS translit_pixels)
# Coverage feedback from the decoder, not only from the entry point.
target_compile_options(translit_pixels PRIVATE -fsanitize=fuzzer-no-link)
