# tavo_render: the painter.
add_library(tavo_render STATIC
  render/charpainter.cpp)
target_link_libraries(tavo_render PUBLIC tavo_platform_gdi tavo_document tavo_settings_record)
