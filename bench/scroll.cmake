# Scrolling a tree of 2 000 nodes line by line with the skinned bars against
# the same with the platform's bars, under Wine. The skin is BlueIce when the
# native build wrote it (TRANSLIT_SKINS), else a small skin with scroll
# sections that the benchmark writes itself.
if(WIN32)
  add_executable(bench_scroll_skinned ${CMAKE_CURRENT_LIST_DIR}/scroll_skinned_bench.cpp)
  target_include_directories(bench_scroll_skinned PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_scroll_skinned PRIVATE translit_controls)
  if(TRANSLIT_SKINS_FOUND)
    get_filename_component(skins_dir ${TRANSLIT_SKIN_BLUEICE_PACKED} DIRECTORY)
    string(REPLACE "/" "\\\\" skins_windows "Z:${skins_dir}")
    target_compile_definitions(bench_scroll_skinned PRIVATE TRANSLIT_SKINS_WINDOWS_DIR="${skins_windows}")
  endif()
endif()
