# tests: app_tests
