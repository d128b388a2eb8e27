# The program's pictures are SVG sources under data/artwork/, rendered with
# rsvg-convert at build time into
#   - the built-in set, compiled into tarvik_gui as a Qt resource
#     (:/tarvik/buttons/<Name>.png, :/tarvik/icons/<Name>.png, :/tarvik/banner/About.png);
#   - the default theme archive gfx/handdrawn.zip at the top of the build folder;
#   - the application icon at the usual desktop sizes under appicon/.
# Picture names are the program's; each source file is the name in snake_case.

find_program(TARVIK_RSVG_CONVERT rsvg-convert REQUIRED)

set(TARVIK_ARTWORK_DIR ${PROJECT_SOURCE_DIR}/data/artwork)
set(TARVIK_BUTTON_PICTURES Convert InFiles InFolder)
set(TARVIK_BUTTON_SIZES 64 48 48)
set(TARVIK_ICON_PICTURES New Add InFiles InFolder OutFolder OutFormat FavFolder ImportFiles
  ExportFiles Exit Copy Delete SelectAll Convert Error Preferences CustomConverter Help Email Web
  Updates About)
set(TARVIK_ICON_SIZES 16 24 32 48 64)
set(TARVIK_APP_ICON_SIZES 16 24 32 48 64 128 256)
set(TARVIK_THEME_NAME handdrawn)
set(TARVIK_THEME_DISPLAY_NAME "Hand Drawn")

function(tarvik_snake_case name out)
  string(REGEX REPLACE "([a-z])([A-Z])" "\\1_\\2" snake "${name}")
  string(TOLOWER "${snake}" snake)
  set(${out} ${snake} PARENT_SCOPE)
endfunction()

# Renders source (an SVG) to output at size (width x height).
function(tarvik_render source output width height)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${TARVIK_RSVG_CONVERT} -w ${width} -h ${height} -o ${output} ${source}
    DEPENDS ${source}
    COMMENT "Rendering ${output}"
    VERBATIM)
endfunction()

# Renders the pictures and attaches the built-in set to target as a resource.
function(tarvik_add_pictures target)
  set(stage ${CMAKE_CURRENT_BINARY_DIR}/theme_${TARVIK_THEME_NAME})
  set(members "")
  set(resources "")
  # theme.cfg: CR LF lines, the display name near the top (it is read from
  # the first 255 bytes). Button values name their file with ".png" so that
  # each keeps its own size; icon values are base names completed per size.
  set(cfg "[Theme]\r\nName=${TARVIK_THEME_DISPLAY_NAME}\r\n[Buttons]\r\n")

  foreach(name size IN ZIP_LISTS TARVIK_BUTTON_PICTURES TARVIK_BUTTON_SIZES)
    tarvik_snake_case(${name} base)
    set(member button_${base}.png)
    tarvik_render(${TARVIK_ARTWORK_DIR}/buttons/${base}.svg ${stage}/${member} ${size} ${size})
    string(APPEND cfg "${name}=${member}\r\n")
    list(APPEND members ${member})
    set_source_files_properties(${stage}/${member} PROPERTIES QT_RESOURCE_ALIAS buttons/${name}.png)
    list(APPEND resources ${stage}/${member})
  endforeach()

  string(APPEND cfg "[Icons]\r\n")
  foreach(name IN LISTS TARVIK_ICON_PICTURES)
    tarvik_snake_case(${name} base)
    string(APPEND cfg "${name}=${base}\r\n")
    foreach(size IN LISTS TARVIK_ICON_SIZES)
      tarvik_render(${TARVIK_ARTWORK_DIR}/icons/${base}.svg ${stage}/${base}_${size}.png ${size} ${size})
      list(APPEND members ${base}_${size}.png)
    endforeach()
    set_source_files_properties(${stage}/${base}_16.png PROPERTIES QT_RESOURCE_ALIAS icons/${name}.png)
    list(APPEND resources ${stage}/${base}_16.png)
  endforeach()
  file(WRITE ${stage}/theme.cfg "${cfg}")

  set(banner ${CMAKE_CURRENT_BINARY_DIR}/builtin/about_banner.png)
  tarvik_render(${TARVIK_ARTWORK_DIR}/banner/about_banner.svg ${banner} 360 40)
  set_source_files_properties(${banner} PROPERTIES QT_RESOURCE_ALIAS banner/About.png)
  list(APPEND resources ${banner})
  qt_add_resources(${target} tarvik_builtin_pictures PREFIX /tarvik FILES ${resources})

  set(archive ${PROJECT_BINARY_DIR}/gfx/${TARVIK_THEME_NAME}.zip)
  list(TRANSFORM members PREPEND ${stage}/ OUTPUT_VARIABLE member_paths)
  add_custom_command(OUTPUT ${archive}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/gfx
    COMMAND ${CMAKE_COMMAND} -E rm -f ${archive}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${archive} --format=zip "--mtime=2000-01-01 00:00:00 UTC"
      theme.cfg ${members}
    WORKING_DIRECTORY ${stage}
    DEPENDS ${stage}/theme.cfg ${member_paths}
    COMMENT "Packing the ${TARVIK_THEME_NAME} theme"
    VERBATIM)

  set(app_icons "")
  foreach(size IN LISTS TARVIK_APP_ICON_SIZES)
    set(icon ${PROJECT_BINARY_DIR}/appicon/${size}x${size}/tarvik.png)
    tarvik_render(${TARVIK_ARTWORK_DIR}/app/tarvik.svg ${icon} ${size} ${size})
    list(APPEND app_icons ${icon})
  endforeach()

  add_custom_target(${target}_pictures ALL DEPENDS ${archive} ${app_icons})
  add_dependencies(${target} ${target}_pictures)
endfunction()
