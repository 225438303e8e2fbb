# tests: ui_tests
tavo_test(ui_tests
  platform/ui_app_test.cpp
  platform/ui_scroll_test.cpp)
target_link_libraries(ui_tests PRIVATE tavo_platform_ui)
