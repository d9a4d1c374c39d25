# translit_wine_path(<var> <host path>)
# The host path as Wine names it: drive Z: is the host's root.
function(translit_wine_path var path)
  string(REPLACE "/" "\\\\" wine "Z:${path}")
  set(${var} "${wine}" PARENT_SCOPE)
endfunction()

# translit_test_finds_skins(<target>)
# TRANSLIT_SKINS_WINDOWS_DIR for the test: the folder of the generated
# skins as Wine names it; empty when the build has none.
function(translit_test_finds_skins target)
  set(dir "")
  if(TRANSLIT_SKINS_FOUND)
    get_filename_component(skins_dir ${TRANSLIT_SKIN_BLUEICE_PACKED} DIRECTORY)
    translit_wine_path(dir "${skins_dir}")
  endif()
  target_compile_definitions(${target} PRIVATE TRANSLIT_SKINS_WINDOWS_DIR="${dir}")
endfunction()

# translit_add_test(<name> SOURCES <files...> LIBS <libs...> [GUI])
# One GoogleTest executable, registered with ctest. On the Windows build ctest
# runs it under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(translit_add_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_GUI)
    # GUI tests share the one virtual desktop: focus and activation would
    # interfere if two ran at once.
    set_tests_properties(${name} PROPERTIES LABELS gui RESOURCE_LOCK desktop)
    # Nor may the pointer an earlier test left behind hover over their windows.
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/ParkPointer.cpp)
    target_link_libraries(${name} PRIVATE translit_test_support)
  endif()
endfunction()
