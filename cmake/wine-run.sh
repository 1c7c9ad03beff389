#!/bin/sh
# Runs a Windows program under Wine with the project's private prefix and quiet settings.
# SONARIL_WINEPREFIX is set by the test scripts; a build folder's own prefix is the fallback.
: "${SONARIL_WINEPREFIX:=${PWD}/wineprefix}"
export WINEPREFIX="$SONARIL_WINEPREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG="${LANG:-C.UTF-8}"
exec wine "$@"
