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

# sonaril_wine_unmanaged(<executable> [<other test> ...])
# On a display without a window manager, Wine waits two seconds whenever a window it has
# handed over to one is hidden; window tests open and close many, so Wine keeps the
# executable's windows itself. A setup test stores that for the executable, and its own
# test and the other tests named (which run the same executable) require it.
function(sonaril_wine_unmanaged executable)
  set(setup ${SONARIL_PLATFORM}.${executable}_unmanaged_windows)
  add_test(NAME ${setup}
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} reg add
            "HKCU\\Software\\Wine\\AppDefaults\\${executable}.exe\\X11 Driver" /v Managed /d N /f)
  set_tests_properties(${setup} PROPERTIES FIXTURES_SETUP ${executable}_unmanaged)
  set_tests_properties(${SONARIL_PLATFORM}.${executable} ${ARGN} PROPERTIES FIXTURES_REQUIRED ${executable}_unmanaged)
endfunction()
