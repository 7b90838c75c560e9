# pictorell_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI])
# One line registers a GoogleTest executable with CTest. GUI tests run on
# Qt's offscreen platform, so no display is needed.
function(pictorell_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} pictorell_testutil GTest::gtest GTest::gtest_main pictorell_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(env "PICTORELL_TESTDATA=${PROJECT_SOURCE_DIR}/../shared/testdata"
          "PICTORELL_BENCHDATA=${PROJECT_SOURCE_DIR}/../shared/bench")
  if(T_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${env}")
endfunction()
