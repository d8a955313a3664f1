# What `cmake --install` puts under the prefix besides the two programs: the
# desktop entry, the document type, the icons, the AppStream metadata, the
# man pages, the read-me page and the manual.  The desktop entry,
# the icon and the metadata are named after the application identifier, the
# name the running program gives the desktop (setDesktopFileName).
include(GNUInstallDirs)

set(GELCOAT_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)
set(GELCOAT_DESKTOP_ID ${GELCOAT_APP_IDENTIFIER})
configure_file(${GELCOAT_DESKTOP_DIR}/gelcoat.desktop.in
  ${PROJECT_BINARY_DIR}/desktop/${GELCOAT_DESKTOP_ID}.desktop @ONLY)
configure_file(${GELCOAT_DESKTOP_DIR}/gelcoat.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/desktop/${GELCOAT_DESKTOP_ID}.metainfo.xml @ONLY)

# Debian keeps manual pages compressed, without a time stamp in the header.
set(GELCOAT_MAN_PAGES)
foreach(page gelcoat.1 gelcoat-render.1)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/desktop/${page}.gz
    COMMAND gzip -9nc ${GELCOAT_DESKTOP_DIR}/${page} > ${PROJECT_BINARY_DIR}/desktop/${page}.gz
    DEPENDS ${GELCOAT_DESKTOP_DIR}/${page} VERBATIM)
  list(APPEND GELCOAT_MAN_PAGES ${PROJECT_BINARY_DIR}/desktop/${page}.gz)
endforeach()
add_custom_target(gelcoat_man_pages ALL DEPENDS ${GELCOAT_MAN_PAGES})

install(FILES ${PROJECT_BINARY_DIR}/desktop/${GELCOAT_DESKTOP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${GELCOAT_DESKTOP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/mime/gelcoat.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${GELCOAT_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(GELCOAT_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(side 16 24 32 48 64 128)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/app/icons/gelcoat-${side}.png
    DESTINATION ${GELCOAT_ICON_DIR}/${side}x${side}/apps RENAME ${GELCOAT_DESKTOP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/app/gelcoat.png
  DESTINATION ${GELCOAT_ICON_DIR}/256x256/apps RENAME ${GELCOAT_DESKTOP_ID}.png)
install(FILES ${GELCOAT_DESKTOP_DIR}/gelcoat.svg
  DESTINATION ${GELCOAT_ICON_DIR}/scalable/apps RENAME ${GELCOAT_DESKTOP_ID}.svg)

# The pages the Help menu opens, under the program's own data folder (not
# the documentation folder, which minimal systems leave out).
install(FILES ${PROJECT_SOURCE_DIR}/resources/readme/ReadMe.html
  DESTINATION ${CMAKE_INSTALL_DATADIR}/gelcoat RENAME "Read Me.html")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/manual/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/gelcoat/manual)

# The build folder gets the same pages beside its programs, so that Help
# opens the manual in a program run from there too.
add_custom_target(gelcoat_build_tree_manual ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/resources/manual
          ${PROJECT_BINARY_DIR}/share/gelcoat/manual
  VERBATIM)
