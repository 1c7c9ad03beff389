# CPack reads this once per package: the settings that differ between the two.
if(CPACK_GENERATOR STREQUAL "ZIP")
  # One folder Sonaril/ to unpack anywhere.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGING_INSTALL_PREFIX "/Sonaril")
elseif(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
