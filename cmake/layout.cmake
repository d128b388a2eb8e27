# The installed layout, relative to the prefix. The program finds its parts
# from its own folder with these (src/core/program_files.cpp), so a tree
# copied to any prefix works; they must stay relative.
include(GNUInstallDirs)

set(TARVIK_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
# The window program and the drawing module are the program's own parts.
set(TARVIK_INSTALL_PRIVATEDIR lib/tarvik)
set(TARVIK_INSTALL_THEMESDIR ${CMAKE_INSTALL_DATADIR}/tarvik/gfx)
set(TARVIK_INSTALL_MANUALDIR ${CMAKE_INSTALL_DOCDIR}/manual)

# The installed programs find nothing through an RPATH.
set(CMAKE_SKIP_INSTALL_RPATH ON)

foreach(folder BINDIR PRIVATEDIR THEMESDIR MANUALDIR)
  if(IS_ABSOLUTE "${TARVIK_INSTALL_${folder}}")
    message(FATAL_ERROR "The install folders must be relative to the prefix: ${TARVIK_INSTALL_${folder}}")
  endif()
endforeach()
