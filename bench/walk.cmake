# The dialog's folder walk with the skinned status bar against the bare loop of
# the same file-system calls, under Wine.
if(WIN32)
  translit_dialog_bench(bench_walk SOURCES ${CMAKE_CURRENT_LIST_DIR}/walk_bench.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/RemoveTree.cpp ${PROJECT_SOURCE_DIR}/tests/support/TempFolder.cpp
    LIBS translit_app)
endif()
