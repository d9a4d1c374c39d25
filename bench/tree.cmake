if(WIN32)
  add_executable(bench_tree_expand ${CMAKE_CURRENT_LIST_DIR}/tree_expand_bench.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/TempFolder.cpp ${PROJECT_SOURCE_DIR}/tests/support/RemoveTree.cpp)
  target_link_libraries(bench_tree_expand PRIVATE translit_shelltree shlwapi)
  target_include_directories(bench_tree_expand PRIVATE ${PROJECT_SOURCE_DIR})
endif()
