# The tavo executable: application object, main frame, About box.
add_executable(tavo app/main.cpp)
target_link_libraries(tavo PRIVATE tavo_document tavo_settings_record)
