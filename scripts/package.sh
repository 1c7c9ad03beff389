#!/bin/bash
# Builds the two downloads for Windows users from this clone (installing what is missing,
# nsis among it) and writes them to build/packages/:
#   Sonaril-<version>-win64.zip        the portable folder Sonaril/
#   Sonaril-<version>-win64-setup.exe  the installer for the current user
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# The programs alone, without the test suites, built exactly as the test command builds them.
build="$PWD/build/package"
output="$PWD/build/packages"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DSONARIL_TESTS=OFF -DSONARIL_BENCH=OFF >/dev/null
cmake --build "$build"
rm -rf "$output"
cpack --config "$build/CPackConfig.cmake" -B "$output"
rm -rf "$output/_CPack_Packages"
ls -l "$output"
