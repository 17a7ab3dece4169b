#!/usr/bin/env bash
# The launcher of the menu entry and of scripts/run.sh: the working folder it
# chooses and creates, the first-start Kav.ini it writes (whole or not at
# all) and keeps, the program it starts there; then the installed launcher
# starting the installed kav7 on the simulated spectrometer.
#   launcher_test.sh LAUNCHER INSTALLED_USR
set -uo pipefail
launcher=$1
installed=$2
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
failures=0
check() { # check WHAT COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

# A stand-in for kav7: notes the folder it was started in.
fake=$t/fake-kav7
printf '#!/bin/sh\npwd >"$RAN"\n' >"$fake"
chmod +x "$fake"

first_start=$(printf '%s\r\n' '[Position]' 'Left=0' 'Top=0' 'Width=760' 'Height=500' \
    '[MsgWindow]' 'Left=770' 'Top=0' 'Width=250' 'Height=380' 'Visible=1' 'Style=3' \
    '[ADCWindow]' 'Left=770' 'Top=410' \
    '[Port]' 'PortName=SIM' 'BaudRate=11' 'TimeOut=100' \
    '[Main]' 'Mode=1' 'ADCEnable=1' 'Amplifying=4'
    echo x)
first_start=${first_start%x}

umask 022
# Starts the launcher with the stand-in, HOME in the case's folder and
# nothing else of the environment but the assignments given.
start() { # start CASE VAR=VALUE...
    local case=$1
    shift
    rm -f "$t/ran"
    env -i PATH="$PATH" HOME="$t/$case/home" RAN="$t/ran" "$@" \
        sh "$launcher" "$fake" >"$t/out" 2>"$t/err"
}
ran_in() { [[ -f $t/ran && $(cat "$t/ran") == "$1" ]]; }
did_not_run() { [[ ! -e $t/ran ]]; }
holds_first_start() { [[ "$(cat "$1/Kav.ini"; echo x)" == "${first_start}x" ]]; }
no_leftovers() { ! compgen -G "$1/Kav.ini.*" >/dev/null; }

# ---- The working folder by the environment, created on the first start
# (with the folders above it), with the first-start Kav.ini.
first_start_case() { # first_start_case CASE FOLDER VAR=VALUE...
    local case=$1 folder=$2
    shift 2
    start "$case" "$@"
    check "$case: exit 0" [ $? -eq 0 ]
    check "$case: kav7 runs in $folder" ran_in "$folder"
    check "$case: the first-start Kav.ini is there" holds_first_start "$folder"
    check "$case: says so" grep -qF "Kav.ini written in $folder" "$t/out"
    check "$case: no temporary file left" no_leftovers "$folder"
    check "$case: Kav.ini's mode follows the umask" [ "$(stat -c %a "$folder/Kav.ini")" == 644 ]
}
first_start_case workdir "$t/workdir/lab/kav work" KAV7_WORKDIR="$t/workdir/lab/kav work"
first_start_case xdg "$t/xdg/data/kav7" XDG_DATA_HOME="$t/xdg/data"
first_start_case home "$t/home/home/.local/share/kav7"
first_start_case workdir-over-xdg "$t/both/w" KAV7_WORKDIR="$t/both/w" XDG_DATA_HOME="$t/both/data"

# ---- A second start keeps the Kav.ini the program completed, byte for byte.
work=$t/second/work
mkdir -p "$work"
printf '[Port]\r\nPortName=COM3\r\n[Main]\r\nMode=0\r\n' >"$work/Kav.ini"
cp "$work/Kav.ini" "$t/second/before"
start second KAV7_WORKDIR="$work"
check "second: exit 0" [ $? -eq 0 ]
check "second: kav7 runs in the folder" ran_in "$work"
check "second: Kav.ini unchanged" cmp -s "$work/Kav.ini" "$t/second/before"
check "second: says nothing" [ ! -s "$t/out" ]

# ---- A Kav.ini that cannot be written whole (a file size limit below its
# size) is not left half written, and the program is not started with
# another configuration than the one announced.
work=$t/full/work
rm -f "$t/ran"
(
    # The limit applies to the launcher alone; its messages go through a pipe.
    trap '' XFSZ
    env -i PATH="$PATH" HOME="$t/full/home" RAN="$t/ran" KAV7_WORKDIR="$work" \
        sh -c 'ulimit -f 0 && exec sh "$@"' sh "$launcher" "$fake" 2>&1 >/dev/null
) | cat >"$t/err"
status=${PIPESTATUS[0]}
check "full: exit 1" [ $status -eq 1 ]
check "full: names the reason" grep -qF "kav7-start: cannot write Kav.ini in $work" "$t/err"
check "full: no Kav.ini" [ ! -e "$work/Kav.ini" ]
check "full: no temporary file left" no_leftovers "$work"
check "full: kav7 not started" did_not_run

# ---- A working folder that cannot be created.
start nofolder KAV7_WORKDIR=/dev/null/kav7
status=$?
check "nofolder: exit 1" [ $status -eq 1 ]
check "nofolder: names the folder" grep -qF "kav7-start: cannot create the working folder /dev/null/kav7" "$t/err"
check "nofolder: kav7 not started" did_not_run

# ---- The installed launcher finds the installed kav7 beside it and starts
# it in the working folder: a first start receives from SIM and the picture
# it takes (KAV7_SCREENSHOT, a name relative to its folder) lands there.
# Where the programs carry no RUNPATH (a build for /usr) the loader is told
# where the tree's library is.
work=$t/installed/work
libdir=$(dirname "$(find "$installed" -name libtdx.so.1 | head -1)")
env -i PATH="$PATH" HOME="$t/installed/home" KAV7_WORKDIR="$work" QT_QPA_PLATFORM=offscreen \
    LD_LIBRARY_PATH="$libdir" \
    KAV7_SCREENSHOT=shot.png ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
    LSAN_OPTIONS="${LSAN_OPTIONS:-}" "$installed/libexec/kav7/kav7-start" >"$t/out" 2>"$t/err"
status=$?
check "installed: exit 0" [ $status -eq 0 ]
check "installed: the first-start Kav.ini is there" holds_first_start "$work"
check "installed: kav7 took its picture in the working folder" [ -s "$work/shot.png" ]
[[ $status -eq 0 ]] || cat "$t/err"

echo "$failures failure(s)"
[[ $failures -eq 0 ]]
