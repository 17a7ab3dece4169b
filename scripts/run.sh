#!/usr/bin/env bash
# Builds the optimised program and starts it in a working directory of its
# own, where it keeps Kav.ini (a first start writes one that names the
# simulated spectrometer). Without a display it starts a virtual one and
# writes a screenshot taken during a sweep instead.
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
if [[ ! -e Kav.ini ]]; then
    # A first start receives from the simulated spectrometer "SIM" at
    # 115200 baud and gain 20, with the message and ADC windows beside the
    # main window. The program completes the file at exit; "Настройка /
    # Выбор порта..." chooses a real port.
    printf '%s\r\n' '[Position]' 'Left=0' 'Top=0' 'Width=760' 'Height=500' \
        '[MsgWindow]' 'Left=770' 'Top=0' 'Width=250' 'Height=380' 'Visible=1' 'Style=3' \
        '[ADCWindow]' 'Left=770' 'Top=410' \
        '[Port]' 'PortName=SIM' 'BaudRate=11' 'TimeOut=100' \
        '[Main]' 'Mode=1' 'ADCEnable=1' 'Amplifying=4' >Kav.ini
    echo "Kav.ini written in $work: the port is the simulated spectrometer SIM"
fi
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$repo/build/release/app/kav7"
fi
shot="${KAV7_SCREENSHOT:-$work/kav7-screenshot.png}"
echo "No display: starting Xvfb; the screenshot goes to $shot"
KAV7_SCREENSHOT="$shot" xvfb-run -a -s "-screen 0 1024x768x24" "$repo/build/release/app/kav7"
echo "Screenshot written: $shot"
