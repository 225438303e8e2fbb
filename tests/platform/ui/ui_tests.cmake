# tests: ui_tests
tavo_test(ui_tests
  platform/ui/app_test.cpp
  platform/ui/choosers_test.cpp
  platform/ui/loadmonitor_test.cpp
  platform/ui/scroll_test.cpp)
target_link_libraries(ui_tests PRIVATE tavo_platform_ui tavo_resources Qt6::Test)
