if(WIN32)
  add_executable(bench_walk ${CMAKE_CURRENT_LIST_DIR}/walk_bench.cpp ${PROJECT_SOURCE_DIR}/app/translit.rc
    ${PROJECT_SOURCE_DIR}/tests/support/RemoveTree.cpp ${PROJECT_SOURCE_DIR}/tests/support/TempFolder.cpp)
  target_link_libraries(bench_walk PRIVATE translit_app)
  target_include_directories(bench_walk PRIVATE ${PROJECT_SOURCE_DIR})
endif()
