# `make package`: the Debian package tarvik_<version>_<arch>.deb, made by
# CPack from the install rules (cmake/install.cmake), installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VERSION ${TARVIK_VERSION_DISPLAY})
set(CPACK_PACKAGE_VENDOR "${TARVIK_MAKER}")
set(CPACK_PACKAGE_CONTACT "${TARVIK_MAKER} <${TARVIK_SUPPORT_MAIL}>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert JPEG photos to BMP images")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${TARVIK_PRODUCT_TITLE} turns JPEG photos into BMP images,
optionally rotating, resizing, flipping, colour-correcting, greying,
thresholding, framing and watermarking them on the way. It works in a
window and from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TARVIK_HOME_PAGE}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# Depends comes from the libraries the programs and the module link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)

# Debian keeps manual pages and the changelog compressed; the script gets
# what it needs through CPACK_ variables, the only ones CPack passes on.
configure_file(data/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
set(CPACK_TARVIK_CHANGELOG ${PROJECT_BINARY_DIR}/debian/changelog)
set(CPACK_TARVIK_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(CPACK_TARVIK_MANPAGE ${CMAKE_INSTALL_MANDIR}/man1/tarvik.1)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package_compress.cmake)

include(CPack)
