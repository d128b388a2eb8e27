# The HTML user manual that F1 opens: docs/manual/index.html, its pictures
# (docs/manual/pictures/, made by the program itself and renewed with
# scripts/manual-pictures) and the manual page as HTML (tarvik.1.html),
# whose sections the manual links to. Built beside the programs into
# manual/, as the program looks for it in a build tree; cmake/install.cmake
# installs the same files.
find_program(TARVIK_MANDOC mandoc REQUIRED)

set(TARVIK_MANUAL_PICTURES
  main-window theme-icons
  preferences-general preferences-interface preferences-input preferences-output
  preferences-transform preferences-adjustment preferences-frame
  preferences-watermark-text preferences-watermark-image preferences-advanced
  progress-complete progress-stopped finder about
  update-question update-new-version update-no-update update-error uninstall)

set(manual ${PROJECT_BINARY_DIR}/manual)
set(TARVIK_MANUAL_FILES ${manual}/index.html ${manual}/tarvik.1.html)
configure_file(docs/manual/index.html ${manual}/index.html COPYONLY)
foreach(picture IN LISTS TARVIK_MANUAL_PICTURES)
  configure_file(docs/manual/pictures/${picture}.png ${manual}/pictures/${picture}.png COPYONLY)
  list(APPEND TARVIK_MANUAL_PICTURE_FILES ${manual}/pictures/${picture}.png)
endforeach()

add_custom_command(OUTPUT ${manual}/tarvik.1.html
  COMMAND sh -c "\"$0\" -Thtml \"$1\" >\"$2\"" ${TARVIK_MANDOC}
    ${PROJECT_SOURCE_DIR}/docs/tarvik.1 ${manual}/tarvik.1.html
  DEPENDS docs/tarvik.1
  COMMENT "The manual page as HTML"
  VERBATIM)
add_custom_target(tarvik_manual ALL DEPENDS ${manual}/tarvik.1.html)
