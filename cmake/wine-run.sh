#!/bin/bash
# Runs a Windows program under Wine with the project's private prefix and quiet settings.
# SONARIL_WINEPREFIX is set by the test scripts; a build folder's own prefix is the fallback.
#
# About one Wine start in a thousand fails inside Wine before the program runs: wine exits
# with 1 and, with its "virtual" errors on, prints "failed to map the shared user data".
# Exactly that start is tried again; every other result, a failure of the program included,
# is passed on as it is.
: "${SONARIL_WINEPREFIX:=${PWD}/wineprefix}"
export WINEPREFIX="$SONARIL_WINEPREFIX"
export WINEDEBUG=-all,err+virtual
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG="${LANG:-C.UTF-8}"

wine_failure='failed to map the shared user data'
errors="$(mktemp)"
trap 'rm -f "$errors"' EXIT

for attempt in 1 2 3 4 5; do
  wine "$@" 2>"$errors"
  status=$?
  if [ "$status" -eq 1 ] && grep -q "$wine_failure" "$errors"; then
    echo "wine-run: Wine failed to start the program (attempt $attempt); starting it again" >&2
    continue
  fi
  # Wine's own "virtual" errors are only there to recognise the failed start.
  grep -v '^err:virtual:' "$errors" >&2
  exit "$status"
done
cat "$errors" >&2
exit "$status"
