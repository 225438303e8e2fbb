# tavo_settings_dialog: the settings dialog and its preview pane, on the
# window layer and the painter; a room above the painter that nothing below
# it includes. The record itself is tavo_settings_record.
add_library(tavo_settings_dialog STATIC
  envdialog/envdialog.cpp
  envdialog/envpreview.cpp)
target_link_libraries(tavo_settings_dialog PUBLIC tavo_render tavo_platform_ui
  tavo_settings_record)
