# Opening a skinned popup menu of 20 items until it is painted against the
# same menu in the platform's look, under Wine, with the generated BlueIce.
if(WIN32 AND TRANSLIT_SKINS_FOUND)
  add_executable(bench_menu_popup ${CMAKE_CURRENT_LIST_DIR}/menu_popup_bench.cpp)
  target_include_directories(bench_menu_popup PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_menu_popup PRIVATE translit_forms)
  get_filename_component(skins_dir ${TRANSLIT_SKIN_BLUEICE_PACKED} DIRECTORY)
  string(REPLACE "/" "\\\\" skins_windows "Z:${skins_dir}")
  target_compile_definitions(bench_menu_popup PRIVATE TRANSLIT_SKINS_WINDOWS_DIR="${skins_windows}")
endif()
