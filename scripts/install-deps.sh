#!/bin/bash
# Installs the Debian packages that building and testing both trees need; does nothing
# when they are all present already.
set -euo pipefail
packages=(
  cmake ninja-build g++ googletest libbenchmark-dev python3
  g++-mingw-w64-x86-64 mingw-w64-tools wine wine64 xvfb xauth
  clang libclang-rt-14-dev sox libkissfft-dev libcli11-dev nlohmann-json3-dev
  nsis unzip
)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
