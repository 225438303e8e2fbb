# tavo_platform_ui: application, frame, view base, bars, dialogs on Qt.
add_library(tavo_platform_ui STATIC
  platform/ui_app.cpp
  platform/ui_dc.cpp
  platform/ui_dialog.cpp
  platform/ui_doctemplate.cpp
  platform/ui_frame.cpp
  platform/ui_keystate.cpp
  platform/ui_resource.cpp
  platform/ui_view.cpp
  platform/ui_wnd.cpp)
find_package(X11 REQUIRED)
target_link_libraries(tavo_platform_ui PUBLIC tavo_platform_gdi Qt6::Widgets PRIVATE X11::X11)
