# What the product says about itself wherever the build writes it down: version
# information in the programs, the packages' names, the installer's entry in "Apps &
# features". Included before project(), which takes the version from here.

# The programs print the version from config/product_version.h; the build reads the same line.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../config/product_version.h" version_line
     REGEX "^#define SONARIL_VERSION ")
if(NOT version_line MATCHES "\"([0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+)\"")
  message(FATAL_ERROR "config/product_version.h holds no SONARIL_VERSION \"a.b.c.d\"")
endif()
set(SONARIL_VERSION "${CMAKE_MATCH_1}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             "${CMAKE_CURRENT_LIST_DIR}/../config/product_version.h")

set(SONARIL_PUBLISHER "The Sonaril developers")
set(SONARIL_COPYRIGHT "Copyright (C) 2026 The Sonaril developers")
