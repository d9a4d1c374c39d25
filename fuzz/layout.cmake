# The stored layout reader (layouts carry stored skins as binary values).
#   fuzz/run layout [SECONDS]
# Seeds: fuzz/seeds/layout.
translit_add_fuzzer(fuzz_layout SOURCES ${CMAKE_CURRENT_LIST_DIR}/layout_fuzz.cpp LIBS translit_base
  DICT ${CMAKE_CURRENT_LIST_DIR}/layout.dict
  SEEDS ${CMAKE_CURRENT_LIST_DIR}/seeds/layout)
target_compile_options(translit_base PRIVATE -fsanitize=fuzzer-no-link)
