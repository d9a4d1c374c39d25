# The skinned dialog's painting against the unskinned one, under Wine; it
# needs the generated skin (TRANSLIT_SKINS).
if(WIN32)
  add_executable(bench_paint ${CMAKE_CURRENT_LIST_DIR}/paint_bench.cpp ${PROJECT_SOURCE_DIR}/app/translit.rc)
  target_link_libraries(bench_paint PRIVATE translit_app translit_effects)
  target_include_directories(bench_paint PRIVATE ${PROJECT_SOURCE_DIR})
  # The dialog's layout is compiled into the resources: a new layout remakes them.
  set_source_files_properties(${PROJECT_SOURCE_DIR}/app/translit.rc PROPERTIES OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/app/Unit1.layout)
  if(TRANSLIT_SKINS_FOUND)
    get_filename_component(skins_dir ${TRANSLIT_SKIN_BLUEICE_FOLDER} DIRECTORY)
    target_compile_definitions(bench_paint PRIVATE TRANSLIT_SKINS_DIR="${skins_dir}")
  endif()
endif()
