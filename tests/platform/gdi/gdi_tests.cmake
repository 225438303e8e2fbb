# tests: gdi_tests
tavo_test(gdi_tests
  support/qt_test_app.cpp
  platform/gdi/font_test.cpp
  platform/gdi/dc_test.cpp
  platform/gdi/glyphstore_test.cpp)
target_link_libraries(gdi_tests PRIVATE tavo_platform_gdi tavo_test_support)
