# The Linux install (`cmake --install`): the tool, its bash completion and its manual page
# where Debian keeps them (with the prefix /usr: /usr/bin, /usr/share/bash-completion/
# completions/sonaril-cli and /usr/share/man/man1/sonaril-cli.1).
include(GNUInstallDirs)
install(TARGETS sonaril-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/cli/sonaril-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME sonaril-cli)
install(FILES ${PROJECT_SOURCE_DIR}/cli/sonaril-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
