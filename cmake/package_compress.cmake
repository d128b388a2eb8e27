# Run by CPack on the staged files before it packs them: Debian keeps
# manual pages and the changelog compressed with gzip -9n (no name, no
# time, so the package is reproducible).
find_program(gzip_program gzip REQUIRED)
set(staged ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})

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
