# Every install rule, in the layout of cmake/layout.cmake:
#   bin/tarvik                          the program
#   lib/tarvik/                         the window program and the drawing module
#   share/tarvik/gfx/                   the themes
#   share/man/man1/tarvik.1             the command line
#   share/doc/tarvik/manual/            the user manual (F1), its pictures and
#                                       the manual page as HTML
#   share/applications/, share/icons/hicolor/, share/metainfo/
#                                       the desktop entry, its icon, AppStream
# Nothing installed names the build tree: the parts are found from the
# program's own folder, and no RPATH points into the build.
include(${PROJECT_SOURCE_DIR}/cmake/product.cmake)

install(TARGETS tarvik RUNTIME DESTINATION ${TARVIK_INSTALL_BINDIR})
install(TARGETS tarvik-gui RUNTIME DESTINATION ${TARVIK_INSTALL_PRIVATEDIR})
install(TARGETS tarvik_draw LIBRARY DESTINATION ${TARVIK_INSTALL_PRIVATEDIR})
install(FILES ${PROJECT_BINARY_DIR}/gfx/handdrawn.zip DESTINATION ${TARVIK_INSTALL_THEMESDIR})
install(FILES docs/tarvik.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TARVIK_MANUAL_FILES} DESTINATION ${TARVIK_INSTALL_MANUALDIR})
install(FILES ${TARVIK_MANUAL_PICTURE_FILES} DESTINATION ${TARVIK_INSTALL_MANUALDIR}/pictures)
configure_file(data/debian/copyright.in ${PROJECT_BINARY_DIR}/debian/copyright @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The desktop entry and the AppStream data take the program's identity
# from src/core/product.h.
configure_file(data/desktop/tarvik.desktop.in ${PROJECT_BINARY_DIR}/desktop/${TARVIK_DESKTOP_ID}
  @ONLY)
configure_file(data/desktop/tarvik.metainfo.xml.in
  ${PROJECT_BINARY_DIR}/desktop/${TARVIK_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${TARVIK_DESKTOP_ID}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${TARVIK_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The application icon: the SVG source and the sizes cmake/artwork.cmake
# renders from it.
set(icon_root ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES data/artwork/app/tarvik.svg DESTINATION ${icon_root}/scalable/apps)
foreach(size IN LISTS TARVIK_APP_ICON_SIZES)
  install(FILES ${PROJECT_BINARY_DIR}/appicon/${size}x${size}/tarvik.png
    DESTINATION ${icon_root}/${size}x${size}/apps)
endforeach()
