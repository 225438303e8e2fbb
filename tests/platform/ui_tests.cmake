# tests: ui_tests
