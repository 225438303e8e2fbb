# tests: settings_dialog_tests, the settings dialog in the running program
if(TARGET tavo_app)
  tavo_test(settings_dialog_tests
    settings/envdamaged_test.cpp
    settings/envdialog_test.cpp
    settings/envpreview_test.cpp)
  target_link_libraries(settings_dialog_tests PRIVATE tavo_app tavo_test_support Qt6::Test)
endif()
