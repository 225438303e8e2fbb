# tests: gdi_tests
