# tavo_platform_gdi: drawing surfaces, fonts and bitmaps on Qt.
add_library(tavo_platform_gdi STATIC
  platform/gdi/dc.cpp
  platform/gdi/face.cpp
  platform/gdi/glyphatlas.cpp
  platform/gdi/glyphstore.cpp
  platform/gdi/objects.cpp
  platform/gdi/qtsurface.cpp
  platform/gdi/rect.cpp)
target_link_libraries(tavo_platform_gdi
  PUBLIC tavo_platform_core Qt6::Gui Qt6::PrintSupport)
