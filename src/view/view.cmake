# tavo_view: the document view.
add_library(tavo_view STATIC
  view/cellgrid.cpp
  view/cellinfo.cpp
  view/gotolinedlg.cpp
  view/jiscodes.cpp
  view/selection.cpp
  view/tavoview.cpp
  view/tavoviewselect.cpp)
target_link_libraries(tavo_view PUBLIC tavo_render tavo_platform_ui tavo_document
  tavo_settings_dialog)
