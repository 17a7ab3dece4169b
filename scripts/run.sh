#!/usr/bin/env bash
# Builds the optimised program and starts it in a working directory of its
# own, where it keeps Kav.ini. Without a display it starts a virtual one and
# writes a screenshot of the main window instead.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAV_BUILD_TESTS=OFF \
    -DKAV_BUILD_BENCH=OFF -DKAV_BUILD_GUI=ON >/dev/null
cmake --build build/release -j "$(nproc)" --target kav7
work="${KAV7_WORKDIR:-${XDG_DATA_HOME:-$HOME/.local/share}/kav7}"
mkdir -p "$work"
cd "$work"
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$repo/build/release/app/kav7"
fi
shot="${KAV7_SCREENSHOT:-$work/kav7-screenshot.png}"
echo "No display: starting Xvfb; the screenshot goes to $shot"
KAV7_SCREENSHOT="$shot" xvfb-run -a -s "-screen 0 1024x768x24" "$repo/build/release/app/kav7"
echo "Screenshot written: $shot"
