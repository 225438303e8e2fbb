# Installing the program: the executable, its desktop entry, icons, file
# type, AppStream metadata, manual page and sample files; and the Debian
# package made of them (scripts/package).
include(GNUInstallDirs)

set(TAVO_APP_ID org.tavo.Viewer)

add_executable(tavo_icons data/exporticons.cpp)
target_link_libraries(tavo_icons PRIVATE tavo_resources)
set(TAVO_ICON_THEME ${CMAKE_CURRENT_BINARY_DIR}/icons/hicolor)
add_custom_command(OUTPUT ${TAVO_ICON_THEME}/scalable/apps/${TAVO_APP_ID}.svg
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
    $<TARGET_FILE:tavo_icons> ${TAVO_ICON_THEME} ${TAVO_APP_ID}
  DEPENDS tavo_icons
  COMMENT "Drawing the icon theme's images from the icon resource")
add_custom_target(tavo_icon_theme ALL
  DEPENDS ${TAVO_ICON_THEME}/scalable/apps/${TAVO_APP_ID}.svg)

configure_file(data/${TAVO_APP_ID}.metainfo.xml.in ${TAVO_APP_ID}.metainfo.xml @ONLY)
configure_file(data/tavo.1 tavo.1 @ONLY)

install(TARGETS tavo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/${TAVO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${TAVO_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME ${TAVO_APP_ID}.xml)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${TAVO_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tavo.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(DIRECTORY ${TAVO_ICON_THEME} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES samples/features.jis samples/numbered.jis samples/story.jis
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tavo/examples)

# CPack's DEB generator: the package is made from the install rules above,
# with the project's version, so nothing is said twice.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TAVO developers <tavo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for Japanese text files in the 7-bit JIS code")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the shared libraries do not tell: the platform plugins Qt loads, the
# Japanese fonts the default settings name, Qt's Japanese dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
