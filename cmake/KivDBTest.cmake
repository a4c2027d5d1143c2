# kivdb_add_test(NAME SOURCES a.cpp b.cpp LIBS kivdb_data [LABELS x] [FIXTURES fixture])
# Builds one GoogleTest program and registers it with CTest under NAME.
if(KIVDB_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()

function(kivdb_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;FIXTURES;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_FIXTURES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${T_FIXTURES}")
  endif()
  if(T_ENVIRONMENT)
    set(T_ENVIRONMENT_SEPARATOR ";")
  endif()
  # Scratch folders named after the test case live in this build tree, so two checkouts testing
  # at once do not write into each other's folders.
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/test-tmp)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "TEST_TMPDIR=${PROJECT_BINARY_DIR}/test-tmp/${T_ENVIRONMENT_SEPARATOR}${T_ENVIRONMENT}")
endfunction()
