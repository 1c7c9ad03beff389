# Sourced by the test and run scripts: a virtual X display and one persistent Wine server
# with the project's private prefix, both stopped when the calling script exits.
WINE_SESSION_ROOT="$(realpath -m "${WINE_SESSION_ROOT:-$PWD/build}")"
export SONARIL_WINEPREFIX="$WINE_SESSION_ROOT/wineprefix"
export WINEPREFIX="$SONARIL_WINEPREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8

display_number=90
while [ -e "/tmp/.X${display_number}-lock" ] || [ -e "/tmp/.X11-unix/X${display_number}" ]; do
  display_number=$((display_number + 1))
done
Xvfb ":${display_number}" -screen 0 "${WINE_SESSION_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":${display_number}"

stop_wine_session() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap stop_wine_session EXIT

mkdir -p "$WINEPREFIX"
wineserver -p >/dev/null 2>&1 &
# Create the prefix once, before tests run Wine in parallel.
wineboot -i >/dev/null 2>&1 || true
# The tests' sound card is an ALSA file sink; never let Wine pick another audio system.
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1 || true
