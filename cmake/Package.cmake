# The Debian package, made by `cpack -G DEB` in the build folder (see
# scripts/package.sh).  Its library dependencies come from dpkg-shlibdeps.
# It installs no maintainer scripts: dpkg's file triggers, which
# shared-mime-info (/usr/share/mime/packages), desktop-file-utils
# (/usr/share/applications) and the icon caches declare, refresh the MIME,
# desktop and icon databases whenever a package puts files there.
set(GELCOAT_DEB_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/gelcoat)

# Debian asks every package for its copyright notice and a changelog,
# compressed without a time stamp.
string(TIMESTAMP GELCOAT_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/resources/desktop/changelog.in
  ${PROJECT_BINARY_DIR}/desktop/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/desktop/changelog.gz
  COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/desktop/changelog
          > ${PROJECT_BINARY_DIR}/desktop/changelog.gz
  DEPENDS ${PROJECT_BINARY_DIR}/desktop/changelog VERBATIM)
add_custom_target(gelcoat_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/desktop/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/copyright
              ${PROJECT_BINARY_DIR}/desktop/changelog.gz
  DESTINATION ${GELCOAT_DEB_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gelcoat)
set(CPACK_PACKAGE_VERSION ${GELCOAT_APP_VERSION})
set(CPACK_PACKAGE_CONTACT "The ${GELCOAT_APP_NAME} developers <${GELCOAT_SUPPORT_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "render simple pictures as glossy, tinted gel images")
set(CPACK_PACKAGE_DESCRIPTION
  "${GELCOAT_APP_NAME} turns a stencil, a small simple picture such as black shapes on
white, a flat-colour drawing or an image with transparency, into a glossy, lit,
tinted gel image with a rounded bevel and a soft drop shadow.  Every control
re-renders the result at once; results are exported as TIFF files, copied or
dragged into other applications, and documents keep the stencil with its
settings.
.
The package holds the desktop application, gelcoat, and the headless
renderer for scripts and batches, gelcoat-render.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${GELCOAT_MAKER_WEB_SITE})
# Linked libraries (libtiff, libpng, libwebp for WebP export, Qt) become
# dependencies through dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plug-ins, so invisible to dpkg-shlibdeps: the windowing systems
# for the application (X11, and Wayland natively rather than through
# XWayland), and the decoders of WebP, TIFF and other pictures. Qt SVG, which
# draws vector stencils, is linked and found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
