#!/bin/bash
# The Wine wrapper starts a program again only when Wine itself failed to start it; a
# stand-in "wine" on PATH plays each case.
set -uo pipefail
wine_run="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
# The stand-in fails the first $FAILED_STARTS starts the way Wine does, then behaves as
# the program: prints to both streams and exits with $PROGRAM_STATUS.
cat >"$work/bin/wine" <<'STANDIN'
#!/bin/bash
count=$(( $(cat "$STARTS_FILE" 2>/dev/null || echo 0) + 1 ))
echo "$count" >"$STARTS_FILE"
if [ "$count" -le "$FAILED_STARTS" ]; then
  echo "err:virtual:virtual_alloc_first_teb wine: failed to map the shared user data: c0000018" >&2
  exit 1
fi
echo "out: $*"
echo "program error line" >&2
exit "$PROGRAM_STATUS"
STANDIN
chmod +x "$work/bin/wine"

failures=0
# failed starts, program status, expected status, expected starts
while read -r failed program expected_status expected_starts; do
  rm -f "$work/starts"
  output="$(PATH="$work/bin:$PATH" STARTS_FILE="$work/starts" FAILED_STARTS="$failed" \
    PROGRAM_STATUS="$program" "$wine_run" prog.exe arg 2>"$work/stderr")"
  status=$?
  starts="$(cat "$work/starts")"
  case_name="$failed failed starts, program exits $program"
  if [ "$status" -ne "$expected_status" ] || [ "$starts" -ne "$expected_starts" ]; then
    echo "FAILED ($case_name): status $status, $starts starts"
    failures=$((failures + 1))
  elif [ "$expected_starts" -gt "$failed" ] && [ "$output" != "out: prog.exe arg" ]; then
    echo "FAILED ($case_name): standard output '$output'"
    failures=$((failures + 1))
  elif [ "$expected_starts" -gt "$failed" ] && ! grep -qx 'program error line' "$work/stderr"; then
    echo "FAILED ($case_name): the program's error line is missing"
    failures=$((failures + 1))
  elif [ "$expected_starts" -gt "$failed" ] && grep -q '^err:virtual' "$work/stderr"; then
    echo "FAILED ($case_name): Wine's own error line reached standard error"
    failures=$((failures + 1))
  fi
done <<'CASES'
0 0 0 1
0 1 1 1
0 3 3 1
1 0 0 2
2 1 1 3
4 0 0 5
5 0 1 5
CASES
echo "$failures failed"
[ "$failures" -eq 0 ]
