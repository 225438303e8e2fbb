# tests: app_tests
if(TARGET tavo_app)
  tavo_test(app_tests
    app/cli_test.cpp
    app/frame_test.cpp
    app/hostile_file_test.cpp
    app/progressive_open_test.cpp
    app/settings_location_test.cpp
    app/soak_test.cpp
    app/startup_test.cpp)
  target_link_libraries(app_tests PRIVATE tavo_app Qt6::Test)
  target_compile_definitions(app_tests PRIVATE TAVO_SAMPLES_DIR="${PROJECT_SOURCE_DIR}/samples"
    TAVO_EXECUTABLE="$<TARGET_FILE:tavo>")
  add_dependencies(app_tests tavo)
endif()

# The install rules, into a temporary prefix, and the desktop's validators.
if(TARGET tavo_icon_theme)
  add_test(NAME InstallTest COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/app/install_test.sh
    ${PROJECT_BINARY_DIR})
endif()
