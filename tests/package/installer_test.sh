#!/bin/bash
# The installer, run silently under Wine in a fresh prefix by a user without administrator
# rights: the files land in %LOCALAPPDATA%\Programs\Sonaril, the .ton file type and the
# "Apps & features" entry are the user's, a .ton file opened with the registered command
# shows in Sonaril, and the silent uninstaller takes everything away but the settings and
# the user's own files.
# installer_test.sh <setup.exe> <version> <open_command_probe.exe> <source root>
#                   <wine-run.sh> <work folder>
set -uo pipefail
setup="$1" version="$2" probe="$3" root="$4" wine_run="$5" work="$6"
examples="$root/examples"
source "$(dirname "$0")/package_test_support.sh"
# expect <what> <expected> <actual>
expect() {
  [ "$2" = "$3" ] || fail "$1: expected '$2', found '$3'"
}
# reg_value <key> [<value name>]: the data of the key's default value or of the named one.
reg_value() {
  local which=(/ve)
  [ $# -gt 1 ] && which=(/v "$2")
  "$wine_run" reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' |
    sed -n 's/^    .*    REG_[A-Z_]*    //p'
}
key_exists() {
  "$wine_run" reg query "$1" >/dev/null 2>&1
}
folder_of() {
  "$wine_run" cmd /c echo "%$1%" | tr -d '\r'
}

start_private_wine "$work/prefix"
"$wine_run" "$setup" /S || fail "the silent installer failed"

install_win="$(folder_of LOCALAPPDATA)\\Programs\\Sonaril"
install_dir="$(winepath -u "$install_win")"
shortcut="$(winepath -u "$(folder_of APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Sonaril.lnk")"
shipped=(Sonaril.exe sonaril-cli.exe README.txt)
mapfile -t -O 3 shipped < <(shipped_data_files "$root")
for file in "${shipped[@]}" Uninstall.exe; do
  [ -f "$install_dir/$file" ] || fail "$file is not in $install_win"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut Sonaril"

classes='HKCU\Software\Classes'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sonaril'
program="\"$install_win\\Sonaril.exe\""
# key|value name (empty: the key's default)|data
while IFS='|' read -r key name data; do
  expect "$key $name" "$data" "$(reg_value "$key" $name)"
done <<TABLE
$classes\.ton||Sonaril.ToneSetting
$classes\Sonaril.ToneSetting||Sonaril tone setting
$classes\Sonaril.ToneSetting\DefaultIcon||$program,0
$classes\Sonaril.ToneSetting\shell\open\command||$program "%1"
$uninstall_key|DisplayName|Sonaril
$uninstall_key|DisplayVersion|$version
$uninstall_key|DisplayIcon|$install_win\Sonaril.exe
$uninstall_key|UninstallString|"$install_win\Uninstall.exe"
TABLE
for name in Publisher EstimatedSize; do
  [ -n "$(reg_value "$uninstall_key" $name)" ] || fail "Apps & features entry without $name"
done
for key in "${uninstall_key/HKCU/HKLM}" 'HKLM\Software\Classes\Sonaril.ToneSetting'; do
  ! key_exists "$key" || fail "$key was written: the installation is not the user's own"
done
open_command="$(reg_value "$classes\\Sonaril.ToneSetting\\shell\\open\\command")"

# Opened the way the shell does: the registered command with the file's path for %1, from
# the file's folder. (Wine's own ShellExecute reads only the machine's file types.)
documents="$work/My Tones"
mkdir -p "$documents"
cp "$examples/busy-japan.ton" "$documents/busy japan.ton"
command_line="${open_command//%1/$(windows_path "$documents/busy japan.ton")}"
shown="$("$wine_run" "$probe" "$command_line" "$(windows_path "$documents")" | tr -d '\r')"
expect "the window of the opened file" "Sonaril - Tone Generator
tone created	yes
step	ON	500	ON
step	OFF	500	OFF
tone	Sine Wave	400	0	0	-1	40" "$shown"
# The first start kept the chosen language beside the program.
[ -f "$install_dir/Sonaril.ini" ] || fail "Sonaril.ini was not written beside Sonaril.exe"

echo "a tone of my own" >"$install_dir/my tone.ton"
"$wine_run" "$install_dir/Uninstall.exe" /S || fail "the silent uninstaller failed"
# It goes on from a copy of itself; deleting itself is its last step.
for attempt in $(seq 300); do
  [ -e "$install_dir/Uninstall.exe" ] || break
  sleep 0.1
done
expect "files left after uninstalling" "./Sonaril.ini
./my tone.ton" "$(cd "$install_dir" && find . -type f | sort)"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
for key in "$classes\\.ton" "$classes\\Sonaril.ToneSetting" "$uninstall_key"; do
  ! key_exists "$key" || fail "$key is still there after uninstalling"
done

echo "$failures failed"
[ "$failures" -eq 0 ]
