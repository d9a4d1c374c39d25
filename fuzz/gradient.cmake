# The gradient text parser and the gradient painters it feeds.
#   scripts/setup-extra fuzz
#   cmake -S . -B build/fuzz -DTRANSLIT_FUZZ=ON -DTRANSLIT_SANITIZE=ON -DTRANSLIT_TESTS=OFF \
#     -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
#   cmake --build build/fuzz --target fuzz_gradient -j2
#   build/fuzz/fuzz/fuzz_gradient -max_total_time=600 -dict=fuzz/gradient.dict CORPUS_DIR
# Inputs that once failed are cases of GradientKernels_test.
translit_add_fuzzer(fuzz_gradient SOURCES ${CMAKE_CURRENT_LIST_DIR}/gradient_fuzz.cpp LIBS translit_pixels)
target_compile_options(translit_pixels PRIVATE -fsanitize=fuzzer-no-link)
