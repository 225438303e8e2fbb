# tavo_platform_gdi: drawing surfaces, fonts and bitmaps on Qt.
add_library(tavo_platform_gdi STATIC
  platform/gdi_rect.cpp)
target_link_libraries(tavo_platform_gdi
  PUBLIC tavo_platform_core Qt6::Gui Qt6::PrintSupport)
