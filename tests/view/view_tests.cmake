# tests: view_tests
tavo_test(view_tests
  view/cellgrid_test.cpp
  view/print_test.cpp
  view/preview_test.cpp
  view/view_test.cpp
  view/navigation_test.cpp
  view/selection_test.cpp)
target_link_libraries(view_tests PRIVATE tavo_app tavo_test_support Qt6::Test)
target_compile_definitions(view_tests PRIVATE TAVO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples")
