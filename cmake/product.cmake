# The program's identity, read from src/core/product.h, where it lives, for
# the desktop entry, the AppStream data and the package.
file(READ ${PROJECT_SOURCE_DIR}/src/core/product.h tarvik_product_header)

function(tarvik_product_text name out)
  if(NOT tarvik_product_header MATCHES "${name} =[ \r\n]*\"([^\"]*)\"")
    message(FATAL_ERROR "src/core/product.h does not define ${name}")
  endif()
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

tarvik_product_text(ProductTitle TARVIK_PRODUCT_TITLE)
tarvik_product_text(ProgramShortName TARVIK_PROGRAM_NAME)
tarvik_product_text(HomePageUrl TARVIK_HOME_PAGE)
tarvik_product_text(SupportMailAddress TARVIK_SUPPORT_MAIL)
tarvik_product_text(CopyrightNotice TARVIK_COPYRIGHT_NOTICE)
string(REGEX REPLACE "^Copyright \\(c\\) ([^.]*)\\..*" "\\1" TARVIK_COPYRIGHT "${TARVIK_COPYRIGHT_NOTICE}")
# One home page address everywhere, over https (AppStream asks for it);
# published screenshots live under it.
if(NOT TARVIK_HOME_PAGE MATCHES "^https://")
  message(FATAL_ERROR "The home page address must begin with https://: ${TARVIK_HOME_PAGE}")
endif()
set(TARVIK_SCREENSHOT_URL "${TARVIK_HOME_PAGE}screenshots/")
# The AppStream component: the maker's domain reversed and the program. Its
# metainfo file is named after it. The window's class (StartupWMClass) and
# the desktop entry's name are the program's short name, which the window
# program gives Qt as its application name.
set(TARVIK_APPSTREAM_ID example.quorvane.${TARVIK_PROGRAM_NAME})
set(TARVIK_DESKTOP_ID ${TARVIK_PROGRAM_NAME}.desktop)
if(NOT TARVIK_PRODUCT_TITLE MATCHES "^([^ ]+) ")
  message(FATAL_ERROR "The product title begins with the maker's name")
endif()
set(TARVIK_MAKER "${CMAKE_MATCH_1}")

# 280 -> 2.8, as the program shows it; the project version must agree.
if(NOT tarvik_product_header MATCHES "VersionNumber = ([0-9])([0-9])([0-9]);")
  message(FATAL_ERROR "src/core/product.h does not define VersionNumber")
endif()
set(TARVIK_VERSION_DISPLAY "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}")
if(NOT CMAKE_MATCH_3 STREQUAL "0")
  string(APPEND TARVIK_VERSION_DISPLAY ".${CMAKE_MATCH_3}")
endif()
if(NOT TARVIK_VERSION_DISPLAY VERSION_EQUAL PROJECT_VERSION)
  message(FATAL_ERROR "The project version ${PROJECT_VERSION} differs from the program's ${TARVIK_VERSION_DISPLAY}")
endif()

# The release of this version, for the AppStream data and the package's
# changelog.
set(TARVIK_RELEASE_DATE 2026-12-11)
set(TARVIK_RELEASE_DATE_RFC2822 "Fri, 11 Dec 2026 00:00:00 +0000")
