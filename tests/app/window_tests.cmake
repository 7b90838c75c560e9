# The main window and its dialogs, driven as the user would on the offscreen
# platform.
pictorell_add_test(main_window_test SOURCES main_window_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(intake_window_test SOURCES intake_window_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(file_dialog_test SOURCES file_dialog_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(preview_window_test SOURCES preview_window_test.cpp LIBS pictorell_app Qt6::Test GUI)
pictorell_add_test(settings_window_test SOURCES settings_window_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(gif_setting_test SOURCES gif_setting_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(gif_measure_test SOURCES gif_measure_test.cpp LIBS pictorell_app Qt6::Test GUI LABELS threads)
pictorell_add_test(banner_check_window_test SOURCES banner_check_window_test.cpp LIBS pictorell_app Qt6::Test GUI
                   LABELS threads)
pictorell_add_test(hue_picker_test SOURCES hue_picker_test.cpp LIBS pictorell_app Qt6::Test GUI)
pictorell_add_test(accessible_names_test SOURCES accessible_names_test.cpp LIBS pictorell_app GUI)
if(TARGET pictorell_help)
  pictorell_add_test(help_file_test SOURCES help_file_test.cpp)
  target_compile_definitions(help_file_test PRIVATE BRENLO_CHM="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/brenlo.chm")
  add_dependencies(help_file_test pictorell_help)
endif()
pictorell_add_test(copy_command_test SOURCES copy_command_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(command_line_test SOURCES command_line_test.cpp LIBS pictorell_app)
pictorell_add_test(file_locations_test SOURCES file_locations_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(desktop_window_test SOURCES desktop_window_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(english_window_test SOURCES english_window_test.cpp LIBS pictorell_app GUI)
# lupdate over the sources into a copy of the .ts file: no text may lack English.
pictorell_add_test(translations_test SOURCES translations_test.cpp LIBS Qt6::Core)
list(JOIN PICTORELL_LUPDATE_OPTIONS "|" _lupdate_options)
target_compile_definitions(translations_test PRIVATE
  PICTORELL_LUPDATE="$<TARGET_FILE:Qt6::lupdate>"
  PICTORELL_LUPDATE_OPTIONS="${_lupdate_options}"
  PICTORELL_TS_FILE="${PICTORELL_TS_FILES}"
  PICTORELL_TR_SOURCES="${CMAKE_BINARY_DIR}/translations/sources.lst")
pictorell_add_test(scene_window_test SOURCES scene_window_test.cpp LIBS pictorell_app GUI)
# The views at whole device pixels, once per screen scale: the scale is set
# before Qt starts, so each one is its own CTest case.
add_executable(whole_pixels_test whole_pixels_test.cpp ${PROJECT_SOURCE_DIR}/tests/testutil/offscreen_platform.cpp)
target_link_libraries(whole_pixels_test PRIVATE pictorell_app pictorell_testutil GTest::gtest GTest::gtest_main
                                                pictorell_warnings)
set_target_properties(whole_pixels_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
foreach(scale 1 1.25 1.5 2)
  string(REPLACE "." "_" scale_name "${scale}")
  add_test(NAME whole_pixels_at_scale_${scale_name} COMMAND whole_pixels_test)
  set_tests_properties(whole_pixels_at_scale_${scale_name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${scale};PICTORELL_TESTDATA=${PICTORELL_SHARED_DIR}/testdata")
endforeach()
# A window moved from a screen at scale 1 to one at 1.5.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/two_screens.json
  "{\"screens\": [{\"name\": \"one\", \"x\": 0, \"y\": 0, \"width\": 1366, \"height\": 768, \"dpr\": 1},"
  " {\"name\": \"two\", \"x\": 1366, \"y\": 0, \"width\": 1920, \"height\": 1080, \"dpr\": 1.5}]}\n")
add_test(NAME whole_pixels_after_screen_change COMMAND whole_pixels_test --gtest_filter=*AnotherScale*)
set_tests_properties(whole_pixels_after_screen_change PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_BINARY_DIR}/two_screens.json;PICTORELL_TESTDATA=${PICTORELL_SHARED_DIR}/testdata")
pictorell_add_test(keyboard_test SOURCES keyboard_test.cpp LIBS pictorell_app Qt6::Test GUI)
