# One step of dragging a sizeable skinned form by its title against the
# same step for the platform's frame, under Wine, with the generated BlueIce.
if(WIN32 AND TRANSLIT_SKINS_FOUND)
  add_executable(bench_drag_frame ${CMAKE_CURRENT_LIST_DIR}/drag_frame_bench.cpp)
  target_include_directories(bench_drag_frame PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_drag_frame PRIVATE translit_forms)
  get_filename_component(skins_dir ${TRANSLIT_SKIN_BLUEICE_PACKED} DIRECTORY)
  string(REPLACE "/" "\\\\" skins_windows "Z:${skins_dir}")
  target_compile_definitions(bench_drag_frame PRIVATE TRANSLIT_SKINS_WINDOWS_DIR="${skins_windows}")
endif()
