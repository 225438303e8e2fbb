# tavo_platform_gdi: drawing surfaces, fonts and bitmaps on Qt.
add_library(tavo_platform_gdi STATIC
  platform/gdi_dc.cpp
  platform/gdi_face.cpp
  platform/gdi_objects.cpp
  platform/gdi_qtsurface.cpp
  platform/gdi_recorder.cpp
  platform/gdi_rect.cpp
  platform/gdi_sjis.cpp)
target_link_libraries(tavo_platform_gdi
  PUBLIC tavo_platform_core Qt6::Gui Qt6::PrintSupport)
