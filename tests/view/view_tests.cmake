# tests: view_tests
