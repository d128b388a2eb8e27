# The release is built with the flags Debian builds its own packages with
# (dpkg-buildflags, with every hardening feature): stack protector,
# _FORTIFY_SOURCE, format-string checks, full RELRO with immediate binding,
# and source paths mapped to ".". `make build`, `make test` and
# `make package` all build the release, so the tests run the very binaries
# the package holds. The sanitizer and fuzz builds leave them out: fortified
# functions hide faults from AddressSanitizer, and they build for debugging.
option(TARVIK_DISTRIBUTION_FLAGS "Build with the flags dpkg-buildflags gives (hardening)" ON)

set(TARVIK_HARDENED OFF)
if(TARVIK_DISTRIBUTION_FLAGS AND NOT TARVIK_SANITIZE)
  find_program(TARVIK_DPKG_BUILDFLAGS dpkg-buildflags)
  if(NOT TARVIK_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "dpkg-buildflags (package dpkg-dev) is missing: scripts/install-deps "
      "installs it, or configure with -DTARVIK_DISTRIBUTION_FLAGS=OFF")
  endif()

  # Run from the source folder, so that its path becomes "." in the binaries.
  function(tarvik_buildflags name out)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
        ${TARVIK_DPKG_BUILDFLAGS} --get ${name}
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "dpkg-buildflags --get ${name} failed")
    endif()
    set(${out} "${flags}" PARENT_SCOPE)
  endfunction()

  tarvik_buildflags(CPPFLAGS tarvik_cppflags)
  tarvik_buildflags(CFLAGS tarvik_cflags)
  tarvik_buildflags(CXXFLAGS tarvik_cxxflags)
  tarvik_buildflags(LDFLAGS tarvik_ldflags)
  # CMake has no preprocessor flags of its own: they go with each language.
  string(APPEND CMAKE_C_FLAGS " ${tarvik_cppflags} ${tarvik_cflags}")
  string(APPEND CMAKE_CXX_FLAGS " ${tarvik_cppflags} ${tarvik_cxxflags}")
  foreach(kind EXE SHARED MODULE)
    string(APPEND CMAKE_${kind}_LINKER_FLAGS " ${tarvik_ldflags}")
  endforeach()
  set(TARVIK_HARDENED ON)
  message(STATUS "Distribution flags: ${tarvik_cppflags} ${tarvik_cxxflags} ${tarvik_ldflags}")
endif()
