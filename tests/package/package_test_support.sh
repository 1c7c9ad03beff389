# Sourced by the package tests: what both share.

# fail <what>: counts one failed check and says which.
failures=0
fail() {
  echo "FAILED: $1"
  failures=$((failures + 1))
}

# start_private_wine <folder>: a fresh Wine prefix of the test's own there, with the
# project's Wine settings, and a wineserver that stays up until the test ends, so that each
# later Wine start is quick.
start_private_wine() {
  rm -rf "$1"
  mkdir -p "$1"
  export SONARIL_WINEPREFIX="$1" WINEPREFIX="$1"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p >/dev/null 2>&1 &
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  wineboot -i >/dev/null 2>&1 || true
  # No sound card here: without an audio driver Wine leaves ALSA's complaints out of the log.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1 || true
}

# The Windows form of a Linux path, as Wine's drive Z: shows it.
windows_path() {
  printf 'Z:%s' "$1" | tr '/' '\\'
}

# shipped_data_files <source root>: the data files both packages ship beside the programs,
# as paths inside the program's folder.
shipped_data_files() {
  (cd "$1" && find examples tones -name '*.ton' && echo tones/README.md && echo tones/index.json) | sort
}
