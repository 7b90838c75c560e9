# The main window and its dialogs, driven as the user would on the offscreen
# platform.
pictorell_add_test(main_window_test SOURCES main_window_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(intake_window_test SOURCES intake_window_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(file_dialog_test SOURCES file_dialog_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(preview_window_test SOURCES preview_window_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(settings_test SOURCES settings_test.cpp LIBS pictorell_settings)
pictorell_add_test(settings_window_test SOURCES settings_window_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(gif_setting_test SOURCES gif_setting_test.cpp LIBS pictorell_app GUI)
pictorell_add_test(hue_picker_test SOURCES hue_picker_test.cpp LIBS pictorell_app Qt6::Test GUI)
