# The dialog's skinned frame against the platform's frame of the same
# window, under Wine; it needs the generated skin (TRANSLIT_SKINS).
if(WIN32)
  translit_dialog_bench(bench_frame SOURCES ${CMAKE_CURRENT_LIST_DIR}/frame_bench.cpp
    LIBS translit_app translit_effects)
endif()
