# z4_test(NAME SOURCES ... LIBS ...): a GoogleTest executable registered with ctest. Under the
# Windows presets ctest runs it through CMAKE_CROSSCOMPILING_EMULATOR (wine64).
function(z4_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  z4_strict(${name})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
