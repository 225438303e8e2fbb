# tavo_settings_dialog: the settings dialog and its preview pane, on the
# window layer and the painter. The record itself is tavo_settings_record.
add_library(tavo_settings_dialog STATIC
  settings/envdialog.cpp
  settings/envpreview.cpp)
target_link_libraries(tavo_settings_dialog PUBLIC tavo_render tavo_platform_ui
  tavo_settings_record)
