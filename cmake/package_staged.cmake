# Run by CPack on the staged files before it packs them, in the scope the
# package is made in, so CPACK_DEBIAN_PACKAGE_DEPENDS set here is the
# package's. Debian's rules: binaries stripped as its own tools strip them,
# manual pages and the changelog compressed with gzip -9n (no name, no time,
# so the package is reproducible), the HTML manual registered with doc-base,
# Depends from dpkg-shlibdeps.
if(NOT CPACK_TARVIK_HARDENED)
  message(FATAL_ERROR "The package is made only from a build with the distribution's flags "
    "(TARVIK_DISTRIBUTION_FLAGS on, no sanitizers): `make package` builds one")
endif()

set(staged ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})

function(tarvik_run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed ERROR_VARIABLE error)
  if(failed)
    message(FATAL_ERROR "${ARGN} failed: ${error}")
  endif()
endfunction()

# No comment section and no debugging symbols; a module keeps only the
# symbols it is loaded by.
find_program(strip_program strip REQUIRED)
foreach(program IN LISTS CPACK_TARVIK_PROGRAMS)
  tarvik_run(${strip_program} --remove-section=.comment --remove-section=.note
    ${staged}/${program})
endforeach()
foreach(module IN LISTS CPACK_TARVIK_MODULES)
  tarvik_run(${strip_program} --remove-section=.comment --remove-section=.note --strip-unneeded
    ${staged}/${module})
endforeach()

find_program(gzip_program gzip REQUIRED)
function(tarvik_gzip source target)
  execute_process(COMMAND ${gzip_program} -9n -c ${source}
    OUTPUT_FILE ${target} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Cannot compress ${source}")
  endif()
endfunction()

tarvik_gzip(${staged}/${CPACK_TARVIK_MANPAGE} ${staged}/${CPACK_TARVIK_MANPAGE}.gz)
file(REMOVE ${staged}/${CPACK_TARVIK_MANPAGE})
tarvik_gzip(${CPACK_TARVIK_CHANGELOG} ${staged}/${CPACK_TARVIK_DOCDIR}/changelog.gz)
file(MAKE_DIRECTORY ${staged}/share/doc-base)
file(COPY_FILE ${CPACK_TARVIK_DOC_BASE} ${staged}/share/doc-base/tarvik-manual)

# dpkg-shlibdeps reads debian/control of its working folder; it gets an
# empty one outside the staged tree.
find_program(shlibdeps_program dpkg-shlibdeps REQUIRED)
set(shlibdeps_folder ${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps)
file(WRITE ${shlibdeps_folder}/debian/control "")
set(binaries ${CPACK_TARVIK_PROGRAMS} ${CPACK_TARVIK_MODULES})
list(TRANSFORM binaries PREPEND ${staged}/)
execute_process(COMMAND ${shlibdeps_program} -O ${binaries}
  WORKING_DIRECTORY ${shlibdeps_folder}
  OUTPUT_VARIABLE shlibs RESULT_VARIABLE failed ERROR_VARIABLE error)
if(failed OR NOT shlibs MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps failed: ${error}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${CPACK_TARVIK_DEPENDS}")
file(REMOVE_RECURSE ${shlibdeps_folder})
