# Skin sources: the packed skin reader and the options reader (with the image
# value syntaxes of every key it yields).
#   fuzz/run packed [SECONDS]
#   fuzz/run options [SECONDS]
# Seeds of packed: packed files of a small skin of ours (the options text of
# fuzz/seeds/options/skin.ini and small bitmaps) and damaged copies, written
# by fuzz/packed_seeds.cpp at build time, and the inputs kept from earlier
# runs (tests/skin/packed-regression, fuzz/keep-input). Seeds of options: the
# texts in fuzz/seeds/options.
add_executable(fuzz_packed_make_seeds ${CMAKE_CURRENT_LIST_DIR}/packed_seeds.cpp)
target_link_libraries(fuzz_packed_make_seeds PRIVATE translit_skin_core)
translit_fuzz_regressions(_packed_regression ${PROJECT_SOURCE_DIR}/tests/skin/packed-regression)
translit_add_fuzzer(fuzz_packed SOURCES ${CMAKE_CURRENT_LIST_DIR}/packed_fuzz.cpp LIBS translit_skin_core
  DICT ${CMAKE_CURRENT_LIST_DIR}/packed.dict
  SEEDS ${TRANSLIT_FUZZ_SEEDS}/packed ${_packed_regression}
  SEED_COMMANDS
    COMMAND $<TARGET_FILE:fuzz_packed_make_seeds> ${CMAKE_CURRENT_LIST_DIR}/seeds/options/skin.ini
            ${TRANSLIT_FUZZ_SEEDS}/packed)
add_dependencies(fuzz_packed_seeds fuzz_packed_make_seeds)
translit_add_fuzzer(fuzz_options SOURCES ${CMAKE_CURRENT_LIST_DIR}/options_fuzz.cpp LIBS translit_skin_core
  DICT ${CMAKE_CURRENT_LIST_DIR}/options.dict
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/options)
# Coverage feedback from the code under test, not only from the entry points.
target_compile_options(translit_skin_core PRIVATE -fsanitize=fuzzer-no-link)
