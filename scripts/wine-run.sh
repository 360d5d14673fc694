#!/usr/bin/env bash
# Runs one command inside a Wine session with the emulated keyboard: wine-run.sh BUILD_DIR CMD...
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
shift
source scripts/wine-env.sh
trap z4_wine_down EXIT
z4_wine_up "$build"
"$@"
