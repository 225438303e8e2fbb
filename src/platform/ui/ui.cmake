# tavo_platform_ui: application, frame, view base, bars, dialogs on Qt.
add_library(tavo_platform_ui STATIC
  platform/ui/app.cpp
  platform/ui/appservices.h
  platform/ui/clipboard.cpp
  platform/ui/dc.cpp
  platform/ui/commdlg.cpp
  platform/ui/dialog.cpp
  platform/ui/display.cpp
  platform/ui/dlgcontrols.cpp
  platform/ui/doctemplate.cpp
  platform/ui/fileerror.cpp
  platform/ui/frame.cpp
  platform/ui/keystate.cpp
  platform/ui/loadmonitor.cpp
  platform/ui/preview.cpp
  platform/ui/print.cpp
  platform/ui/resource.cpp
  platform/ui/scrollstep.cpp
  platform/ui/view.cpp
  platform/ui/wnd.cpp)
find_package(X11 REQUIRED)
target_link_libraries(tavo_platform_ui PUBLIC tavo_platform_gdi Qt6::Widgets PRIVATE X11::X11)
