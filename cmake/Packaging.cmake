# Installation and the Debian package.
#
#   cmake --install build --prefix P
#     P/bin/orbelan
#     P/lib/orbelan/libOrbelan.so, libXendo.so, libVopra.so
#     P/share/orbelan/schema/    the host's database schema
#     P/share/orbelan/Report/    the demo label projects and thermal templates
#     P/share/orbelan/report/    the chart and text reports
#     P/share/man/man1/orbelan.1
#
#   cpack -G DEB   (in the build folder)  ->  orbelan_<version>_amd64.deb

install(TARGETS orbelan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS Orbelan Xendo Vopra LIBRARY DESTINATION ${ORBELAN_LIBRARY_INSTALL_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/host/demo/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/orbelan
  PATTERN "*.qrc" EXCLUDE)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/host/schema
  DESTINATION ${CMAKE_INSTALL_DATADIR}/orbelan
  PATTERN "*.qrc" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/host/orbelan.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbelan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Label management for clothing and goods on Firebird databases")
set(CPACK_PACKAGE_DESCRIPTION
  "Orbelan is the label-management library a host management application loads: \
label import, print launches on laser and thermal printers, launch export, barcode \
reprints and a query designer over the business's Firebird databases. The package \
holds the library, its two sibling libraries, the orbelan program that plays the \
host and runs batch commands, and a demo installation.")
set(CPACK_PACKAGE_CONTACT "Orbelan developers <orbelan@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The shared libraries the binaries link are found by dpkg-shlibdeps; what is
# loaded at run time is named here: Qt's platform plugins (a window, or
# offscreen), the embedded Firebird engine and its message and settings files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, firebird3.0-server-core, firebird3.0-common")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, cups-client")
set(CPACK_STRIP_FILES ON)
include(CPack)
