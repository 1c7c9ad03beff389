# The two downloads for Windows users, made by CPack from the Windows tree:
#   Sonaril-<version>-win64.zip        a portable folder Sonaril/
#   Sonaril-<version>-win64-setup.exe  an installer for the current user (NSIS)
# `cpack` in the build folder writes both; scripts/package.sh does everything from a clone.

# Folders of .ton files (the examples, the country tone library) that ship beside the
# programs, each under its own name with its read-me and, for the library, the index the
# window's "Open from Tone Library" reads.
set(SONARIL_DATA_FOLDERS examples tones)

install(TARGETS Sonaril sonaril-cli RUNTIME DESTINATION .)
foreach(folder IN LISTS SONARIL_DATA_FOLDERS)
  install(DIRECTORY "${PROJECT_SOURCE_DIR}/${folder}/" DESTINATION "${folder}"
          FILES_MATCHING PATTERN "*.ton" PATTERN "README.md" PATTERN "index.json")
endforeach()
# Notepad users expect CRLF.
configure_file("${PROJECT_SOURCE_DIR}/packaging/README.txt.in"
               "${CMAKE_BINARY_DIR}/packaging/README.txt" @ONLY NEWLINE_STYLE WIN32)
install(FILES "${CMAKE_BINARY_DIR}/packaging/README.txt" DESTINATION .)

set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Sonaril)
set(CPACK_PACKAGE_VENDOR "${SONARIL_PUBLISHER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_FILE_NAME "Sonaril-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Sonaril)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Sonaril)
# Debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)
# What differs between the zip and the installer.
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/packaging/generator_settings.cmake")

# The installer. packaging/NSIS.template.in replaces CMake's template, which installs for
# all users; the rest is CPack's own variables.
set(CPACK_MODULE_PATH "${PROJECT_SOURCE_DIR}/packaging")
set(CPACK_NSIS_PACKAGE_NAME Sonaril)
set(CPACK_NSIS_DISPLAY_NAME Sonaril)
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\Programs")
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_MUI_ICON "${CMAKE_BINARY_DIR}/resources/icons/app.ico")
set(CPACK_NSIS_MUI_UNIICON "${CMAKE_BINARY_DIR}/resources/icons/app.ico")
set(CPACK_NSIS_INSTALLED_ICON_NAME Sonaril.exe)
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
# The product, not the NSIS build, at the foot of each page. (CPACK_NSIS_BRANDING_TEXT always
# adds a /TRIM option, which makensis rejects on Linux.)
set(CPACK_NSIS_DEFINES "!include \"${PROJECT_SOURCE_DIR}/packaging/tone_files.nsh\"
BrandingText \"Sonaril ${PROJECT_VERSION}\"")
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\Sonaril.lnk" "$INSTDIR\Sonaril.exe"]])
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete "$SMPROGRAMS\Sonaril.lnk"]])
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!insertmacro RegisterToneFiles")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!insertmacro UnregisterToneFiles")

include(CPack)
