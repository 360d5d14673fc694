#!/usr/bin/env bash
# The agent's main job, end to end: starts it under Wine against the emulated keyboard, stores
# the sample settings as the configuration program would, applies them with the progress
# window, and shows what the keyboard now holds. Ends the agent with WM_CLOSE.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
z4_install_deps >/dev/null

echo "== building the agent, its tools and the emulated keyboard (win64 preset)"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target z4_agent z4ctl kvkbd_emu kvkbd_ping kvkbd_show >/dev/null

source scripts/wine-env.sh
trap z4_wine_down EXIT
z4_wine_up build/win64

wine=/usr/lib/wine/wine64
z4ctl() { "$wine" build/win64/tools/z4ctl/z4ctl.exe "$@"; }
show() { "$wine" build/win64/tools/kvkbd-emu/kvkbd-show.exe "$@"; }

echo
echo "== starting the agent (build/win64/agent/Z4_Setting.exe)"
"$wine" build/win64/agent/Z4_Setting.exe &
agent=$!
z4ctl status --wait 20
echo "-- what its start-up asked of the keyboard, and what the keyboard holds:"
show --log

echo
echo "== importing data/samples/demo.z4 and applying it with the progress window"
z4ctl import data/samples/demo.z4
grep -v "^#" data/samples/demo.z4 | grep -v "^$" | sed "s/^/    /"
z4ctl apply
echo "-- the keyboard now holds:"
show

echo
echo "== ending the agent with WM_CLOSE"
z4ctl close
wait "$agent" || true
