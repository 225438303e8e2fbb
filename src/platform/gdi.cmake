# tavo_platform_gdi: drawing surfaces, fonts and bitmaps on Qt.
