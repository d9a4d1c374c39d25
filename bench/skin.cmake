# Loading a whole skin (folder and packed) under Wine: milliseconds per load
# and the share spent decoding images, the decoding being the reference.
if(WIN32)
  add_executable(bench_skin_load ${CMAKE_CURRENT_LIST_DIR}/skin_load_bench.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/RemoveTree.cpp ${PROJECT_SOURCE_DIR}/tests/support/TempFolder.cpp)
  target_include_directories(bench_skin_load PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_skin_load PRIVATE translit_skin)
endif()
