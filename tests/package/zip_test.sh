#!/bin/bash
# The portable zip: exactly the expected files, in one folder Sonaril/. Unpacked, its
# sonaril-cli.exe (under Wine, in a fresh prefix) prints the package's version and renders a
# shipped example byte for byte like the native tool.
# zip_test.sh <zip> <version> <native sonaril-cli> <source root> <wine-run.sh> <work folder>
set -uo pipefail
zip="$1" version="$2" native_cli="$3" root="$4" wine_run="$5" work="$6"
examples="$root/examples"
source "$(dirname "$0")/package_test_support.sh"

expected_files="$(
  printf 'Sonaril/%s\n' README.txt Sonaril.exe sonaril-cli.exe
  shipped_data_files "$root" | sed 's#^#Sonaril/#'
)"
actual_files="$(unzip -Z1 "$zip" | grep -v '/$')"
if [ "$(sort <<<"$actual_files")" != "$(sort <<<"$expected_files")" ]; then
  fail "the zip does not hold exactly the expected files:"
  diff <(sort <<<"$expected_files") <(sort <<<"$actual_files")
fi

start_private_wine "$work/prefix"
unzip -q "$zip" -d "$work/unpacked"
cd "$work/unpacked/Sonaril" || exit 1
shown_version="$("$wine_run" sonaril-cli.exe --version | tr -d '\r')"
[ "$shown_version" = "sonaril-cli $version" ] || fail "--version printed '$shown_version'"
# The read-me shows the tool's usage as the tool itself prints it.
"$wine_run" sonaril-cli.exe --help | tr -d '\r' | sed -n '2,/^$/p' | sed '/^$/d' |
  while IFS= read -r usage_line; do
    grep -qxF -- "$usage_line" <(tr -d '\r' <README.txt) || echo "$usage_line"
  done >"$work/usage-missing"
[ ! -s "$work/usage-missing" ] || fail "README.txt lacks usage lines: $(cat "$work/usage-missing")"

example=ramps-and-fades
"$native_cli" render "$examples/$example.ton" -o "$work/native.wav"
"$wine_run" sonaril-cli.exe render "examples\\$example.ton" -o "$example.wav" ||
  fail "the unpacked sonaril-cli.exe could not render $example.ton"
cmp -s "$work/native.wav" "$example.wav" ||
  fail "the unpacked sonaril-cli.exe wrote other bytes than the native tool for $example.ton"

echo "$failures failed"
[ "$failures" -eq 0 ]
