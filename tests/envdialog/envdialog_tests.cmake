# tests: settings_dialog_tests, the settings dialog in the running program
if(TARGET tavo_app)
  tavo_test(settings_dialog_tests
    envdialog/envdamaged_test.cpp
    envdialog/envdialog_test.cpp
    envdialog/envpreview_test.cpp)
  target_link_libraries(settings_dialog_tests PRIVATE tavo_app tavo_test_support Qt6::Test)
endif()
