# Skin sources: the packed skin reader and the options reader (with the image
# value syntaxes of every key it yields).
#   scripts/setup-extra fuzz
#   cmake -S . -B build/fuzz -DTRANSLIT_FUZZ=ON -DTRANSLIT_SANITIZE=ON -DTRANSLIT_TESTS=OFF \
#     -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
#   cmake --build build/fuzz --target fuzz_packed fuzz_options -j2
#   build/fuzz/fuzz/fuzz_packed -max_total_time=600 -rss_limit_mb=2048 CORPUS_DIR
translit_add_fuzzer(fuzz_packed SOURCES ${CMAKE_CURRENT_LIST_DIR}/packed_fuzz.cpp LIBS translit_skin_core)
translit_add_fuzzer(fuzz_options SOURCES ${CMAKE_CURRENT_LIST_DIR}/options_fuzz.cpp LIBS translit_skin_core)
# Coverage feedback from the code under test, not only from the entry points.
target_compile_options(translit_skin_core PRIVATE -fsanitize=fuzzer-no-link)
if(NOT TRANSLIT_SANITIZE)
  message(WARNING "fuzz targets without -DTRANSLIT_SANITIZE=ON find crashes only, not memory errors")
endif()
