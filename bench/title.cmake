# A title button turning hot until its first frame is on the screen, the
# skinned dialog's close button with BlueIce against the platform's caption
# button, under Wine.
if(WIN32 AND TRANSLIT_SKINS_FOUND)
  add_executable(bench_title_hover ${CMAKE_CURRENT_LIST_DIR}/title_hover_bench.cpp)
  target_include_directories(bench_title_hover PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_title_hover PRIVATE translit_forms)
  get_filename_component(skins_dir ${TRANSLIT_SKIN_BLUEICE_PACKED} DIRECTORY)
  string(REPLACE "/" "\\\\" skins_windows "Z:${skins_dir}")
  target_compile_definitions(bench_title_hover PRIVATE TRANSLIT_SKINS_WINDOWS_DIR="${skins_windows}")
endif()
