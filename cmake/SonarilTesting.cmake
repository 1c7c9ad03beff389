# sonaril_add_gtest(<name> SOURCES ... [LIBS ...] [ENVIRONMENT VAR=VALUE ...])
# Builds one GoogleTest executable and registers it as one ctest test named
# "<platform>.<name>"; in the Windows tree ctest runs it under Wine.
function(sonaril_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} sonaril_test_support gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${SONARIL_PLATFORM}.${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${SONARIL_PLATFORM}.${name} PROPERTIES
    ENVIRONMENT "SONARIL_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;${T_ENVIRONMENT}")
endfunction()
