# The shared test pictures sit beside the checkout; a git worktree one level
# deeper (wt/<name>) finds them one folder further up.
set(_pictorell_shared "${PROJECT_SOURCE_DIR}/../shared")
if(NOT IS_DIRECTORY "${_pictorell_shared}" AND IS_DIRECTORY "${PROJECT_SOURCE_DIR}/../../shared")
  set(_pictorell_shared "${PROJECT_SOURCE_DIR}/../../shared")
endif()
set(PICTORELL_SHARED_DIR "${_pictorell_shared}" CACHE PATH "Folder holding testdata/ and bench/ pictures")

# pictorell_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI] [LABELS <labels...>])
# One line registers a GoogleTest executable with CTest. GUI tests run on
# Qt's offscreen platform, so no display is needed. Tests that start threads
# carry the label "threads": test.sh runs those under ThreadSanitizer.
function(pictorell_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} pictorell_testutil GTest::gtest GTest::gtest_main pictorell_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(env "PICTORELL_TESTDATA=${PICTORELL_SHARED_DIR}/testdata"
          "PICTORELL_BENCHDATA=${PICTORELL_SHARED_DIR}/bench")
  if(T_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/testutil/offscreen_platform.cpp)
  endif()
  set(properties ENVIRONMENT "${env}")
  if(T_LABELS)
    list(APPEND properties LABELS "${T_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

# pictorell_label_tests(<target> <gtest filter> <label>)
# Registers the tests of <target> that the filter selects once more under
# the prefix "<label>.", with that label: for the few tests of a larger
# executable that start threads.
function(pictorell_label_tests target filter label)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 TEST_FILTER "${filter}" TEST_PREFIX "${label}."
    PROPERTIES LABELS "${label}"
               ENVIRONMENT "PICTORELL_TESTDATA=${PICTORELL_SHARED_DIR}/testdata;PICTORELL_BENCHDATA=${PICTORELL_SHARED_DIR}/bench")
endfunction()
