#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the four presets, runs the native tests and
# the fuzz targets, then the Windows tests under Wine against the emulated keyboard driver.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
z4_install_deps

for preset in native win64 win32 fuzz; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

tests/release/check_release.py build/win32/agent/Z4_Setting.exe
ctest --preset native
fuzz/run.sh build/fuzz

source scripts/wine-env.sh
trap z4_wine_down EXIT
z4_wine_up build/win64
ctest --preset win64
