# The skinned dialog's painting against the unskinned one, under Wine; it
# needs the generated skin (TRANSLIT_SKINS).
if(WIN32)
  translit_dialog_bench(bench_paint SOURCES ${CMAKE_CURRENT_LIST_DIR}/paint_bench.cpp
    LIBS translit_app translit_effects)
endif()
