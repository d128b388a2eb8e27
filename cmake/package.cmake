# `make package`: the Debian package tarvik_<version>_<arch>.deb, made by
# CPack from the install rules (cmake/install.cmake), installed under /usr.
# It passes `lintian -EvIL +pedantic` without an error or a warning
# (tests/install/package.sh). What it used to find is mended here and in
# cmake/package_staged.cmake: maintscript-calls-ldconfig (no ldconfig
# scripts, see Depends below), binary-has-unneeded-section (stripped as
# Debian strips) and possible-documentation-but-no-doc-base-registration
# (the HTML manual is registered with doc-base). The tags of lower levels
# that remain, and why each is right for this package:
#   X executable-in-usr-lib (experimental): tarvik-gui is an internal
#     program that only tarvik runs, kept with the drawing module in the
#     program's private folder lib/tarvik/, which the FHS allows for
#     internal binaries; /usr/libexec is optional there.
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
# The desktop's open action serves F1, the feedback mail and the web pages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)

# Depends: what dpkg-shlibdeps finds for the programs and the module, and
# the font of the default text watermark ("Arial", which fontconfig's
# metric aliases resolve to Liberation Sans). CPack's own dpkg-shlibdeps
# run is off: with it, CPack also adds postinst/postrm scripts that run
# ldconfig for any library under /usr/lib, and the drawing module is a
# private module that ldconfig never sees. The staging script below runs
# dpkg-shlibdeps itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_TARVIK_DEPENDS "fonts-liberation2 | fonts-liberation")
set(CPACK_TARVIK_PROGRAMS
  ${TARVIK_INSTALL_BINDIR}/tarvik ${TARVIK_INSTALL_PRIVATEDIR}/tarvik-gui)
set(CPACK_TARVIK_MODULES ${TARVIK_INSTALL_PRIVATEDIR}/libtarvik-draw.so)
# Stripped by the staging script, as Debian's own tools strip.
set(CPACK_STRIP_FILES OFF)
# A package holds only binaries built with the distribution's flags.
set(CPACK_TARVIK_HARDENED ${TARVIK_HARDENED})

# Debian keeps manual pages and the changelog compressed and registers the
# HTML manual with doc-base; the script gets what it needs through CPACK_
# variables, the only ones CPack passes on.
configure_file(data/debian/changelog.in ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
configure_file(data/debian/doc-base.in ${PROJECT_BINARY_DIR}/debian/doc-base @ONLY)
set(CPACK_TARVIK_CHANGELOG ${PROJECT_BINARY_DIR}/debian/changelog)
set(CPACK_TARVIK_DOC_BASE ${PROJECT_BINARY_DIR}/debian/doc-base)
set(CPACK_TARVIK_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(CPACK_TARVIK_MANPAGE ${CMAKE_INSTALL_MANDIR}/man1/tarvik.1)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package_staged.cmake)

include(CPack)
