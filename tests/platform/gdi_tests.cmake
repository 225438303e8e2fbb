# tests: gdi_tests
tavo_test(gdi_tests
  platform/gdi_test_app.cpp
  platform/gdi_font_test.cpp
  platform/gdi_dc_test.cpp)
target_link_libraries(gdi_tests PRIVATE tavo_platform_gdi)
