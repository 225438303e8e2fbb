# tests: render_tests
tavo_test(render_tests
  support/qt_test_app.cpp
  render/painter_draw_test.cpp
  render/painter_pixels_test.cpp
  render/batching_pixels_test.cpp)
target_link_libraries(render_tests PRIVATE tavo_render tavo_test_support)
target_compile_definitions(render_tests PRIVATE TAVO_TEST_OUTPUT_DIR="${CMAKE_BINARY_DIR}")
