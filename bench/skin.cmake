# Loading the skin BlueIce (folder and packed) under Wine: milliseconds per
# load against decoding the same images alone. The skin comes from the
# native build of the generator (TRANSLIT_SKINS; bench/run passes it).
if(WIN32 AND TRANSLIT_SKINS_FOUND)
  add_executable(bench_skin_load ${CMAKE_CURRENT_LIST_DIR}/skin_load_bench.cpp)
  target_include_directories(bench_skin_load PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_skin_load PRIVATE translit_skin)
  get_filename_component(skins_dir ${TRANSLIT_SKIN_BLUEICE_PACKED} DIRECTORY)
  string(REPLACE "/" "\\\\" skins_windows "Z:${skins_dir}")
  target_compile_definitions(bench_skin_load PRIVATE TRANSLIT_SKINS_WINDOWS_DIR="${skins_windows}")
elseif(WIN32)
  message(STATUS "bench_skin_load needs the generated skin (TRANSLIT_SKINS)")
endif()
