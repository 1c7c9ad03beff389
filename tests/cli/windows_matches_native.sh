#!/bin/bash
# The Windows sonaril-cli.exe under Wine writes the same bytes as the native tool for
# every example in every format.
set -uo pipefail
native="$1" windows="$2" examples="$3" wine_run="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
for setting in "$examples"/*.ton; do
  name="$(basename "$setting" .ton)"
  for format in wav mulaw alaw; do
    "$native" render "$setting" -o "$work/$name.native.$format" --format "$format"
    "$wine_run" "$windows" render "Z:$setting" -o "Z:$work/$name.windows.$format" --format "$format"
    if cmp -s "$work/$name.native.$format" "$work/$name.windows.$format"; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1))
      echo "FAILED: $name ($format) differs between the native and the Windows tool"
    fi
  done
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
