# tests: render_tests
