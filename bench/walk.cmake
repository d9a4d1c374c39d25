if(WIN32)
  add_executable(bench_walk ${CMAKE_CURRENT_LIST_DIR}/walk_bench.cpp ${PROJECT_SOURCE_DIR}/app/translit.rc
    ${PROJECT_SOURCE_DIR}/tests/support/RemoveTree.cpp ${PROJECT_SOURCE_DIR}/tests/support/TempFolder.cpp)
  target_link_libraries(bench_walk PRIVATE translit_app)
  target_include_directories(bench_walk PRIVATE ${PROJECT_SOURCE_DIR})
  # The dialog's layout is compiled into the resources: a new layout remakes them.
  set_source_files_properties(${PROJECT_SOURCE_DIR}/app/translit.rc PROPERTIES OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/app/Unit1.layout)
  if(TRANSLIT_SKINS_FOUND)
    get_filename_component(skins_dir ${TRANSLIT_SKIN_BLUEICE_FOLDER} DIRECTORY)
    target_compile_definitions(bench_walk PRIVATE TRANSLIT_SKINS_DIR="${skins_dir}")
  endif()
endif()
