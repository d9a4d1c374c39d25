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
  endif()
endfunction()
