#!/usr/bin/env bash
# kavtool as a lab script meets it, in an optimised build tree (reports only):
#   - the shared libraries each executable loads (ldd | wc -l);
#   - kavtool --help, the start-up alone;
#   - kavtool process on a full 65 520-point spectrum against the floor, a
#     Qt Core program that reads the same file (kav_read_floor), in the same run;
#   - 1 000 small spectra processed in one run against 1 000 runs.
# Times are medians of repeated runs, in milliseconds.
#
#   bash bench/tools/kavtool_bench.sh [BUILD_DIR]     (default: build/release)
# KAVTOOL_BEFORE=/path/to/kavtool measures another kavtool the same way (for
# a before-and-after comparison; its batch form is not used).
set -euo pipefail
build=${1:-build/release}
kavtool=$build/tools/kavtool
paint=$build/libexec/kav7/kavtool-paint
port=$build/libexec/kav7/kavtool-port
floor=$build/bench/tools/kav_read_floor
runs=${KAV_BENCH_RUNS:-41}
small=${KAV_BENCH_SMALL:-1000}
for program in "$kavtool" "$paint" "$port" "$floor"; do
    [[ -x $program ]] || { echo "not built: $program" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C QT_QPA_PLATFORM=offscreen

# The median of "$runs" runs of a command, in ms, its output discarded.
median_ms() {
    local times=() i start end
    for ((i = 0; i < runs; i++)); do
        start=$EPOCHREALTIME
        "$@" > /dev/null 2>&1
        end=$EPOCHREALTIME
        times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { print (b - a) * 1000 }')")
    done
    printf '%s\n' "${times[@]}" | sort -g | awk '{ t[NR] = $1 } END { printf "%.2f", t[int((NR + 1) / 2)] }'
}

# The medians of the floor and of kavtool process on the full spectrum, run
# in turn so that both meet the same load of the machine: "FLOOR PROCESS".
paired_ms() { # KAVTOOL
    local floor_times=() times=() i start mid end
    for ((i = 0; i < runs; i++)); do
        start=$EPOCHREALTIME
        "$floor" "$work/full.kav" > /dev/null 2>&1
        mid=$EPOCHREALTIME
        "$1" process "$work/full.kav" "${ops[@]}" > /dev/null 2>&1
        end=$EPOCHREALTIME
        floor_times+=("$(awk -v a="$start" -v b="$mid" 'BEGIN { print (b - a) * 1000 }')")
        times+=("$(awk -v a="$mid" -v b="$end" 'BEGIN { print (b - a) * 1000 }')")
    done
    local median='{ t[NR] = $1 } END { printf "%.2f", t[int((NR + 1) / 2)] }'
    printf '%s %s\n' "$(printf '%s\n' "${floor_times[@]}" | sort -g | awk "$median")" \
        "$(printf '%s\n' "${times[@]}" | sort -g | awk "$median")"
}

# One run of a command, in ms.
once_ms() {
    local start end
    start=$EPOCHREALTIME
    "$@" > /dev/null 2>&1 || true
    end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.0f", (b - a) * 1000 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# A full spectrum: every code 0..65519 holds a point on a derivative line.
awk 'BEGIN { for (x = 0; x <= 65519; x++) { d = (x - 32760) / 900;
    printf "%d\t%d\n", x, 2048 - 1500 * d / (1 + d * d) ^ 2 } }' > "$work/full.tsv"
"$kavtool" import "$work/full.tsv" -o "$work/full.kav" > /dev/null
# Small spectra: 256 points each, under names of their own.
awk 'BEGIN { for (x = 20000; x < 20000 + 256 * 64; x += 64) { d = (x - 28000) / 900;
    printf "%d\t%d\n", x, 2048 - 1500 * d / (1 + d * d) ^ 2 } }' > "$work/small.tsv"
"$kavtool" import "$work/small.tsv" -o "$work/small.kav" > /dev/null
mkdir -p "$work/small"
for ((i = 0; i < small; i++)); do cp "$work/small.kav" "$work/small/s$i.kav"; done
ops=(--visirs 1000 64000 minmax 20 100)

echo "== kavtool ($kavtool)"
printf 'ldd | wc -l: kavtool %s, kavtool-paint %s, kavtool-port %s, floor %s\n' \
    "$(ldd "$kavtool" | wc -l)" "$(ldd "$paint" | wc -l)" "$(ldd "$port" | wc -l)" \
    "$(ldd "$floor" | wc -l)"
printf 'kavtool --help: %s ms\n' "$(median_ms "$kavtool" --help)"
read -r f p < <(paired_ms "$kavtool")
printf 'process, 65 520 points: %s ms; floor (Qt Core, reads the file) %s ms; ratio %s (goal <= 1.10)\n' \
    "$p" "$f" "$(ratio "$p" "$f")"
# The reports alone, then with each processed spectrum saved (-o): every
# save reaches the disk before it takes its name; separate runs flush each
# file on its own, one run flushes its results together.
separate_runs() { # KAVTOOL [-o]
    bash -c 'for f in "$1"/small/*.kav; do
        "$2" process "$f" "${@:4}" ${3:+-o "$1/each/${f##*/}"}; done' _ "$work" "$@" "${ops[@]}"
}
one=$(once_ms "$kavtool" process "$work"/small/*.kav "${ops[@]}")
separate=$(once_ms separate_runs "$kavtool" "")
printf '%s small spectra, reports: one run %s ms, %s runs %s ms; %sx (goal >= 10)\n' \
    "$small" "$one" "$small" "$separate" "$(ratio "$separate" "$one")"
mkdir -p "$work/each"
one=$(once_ms "$kavtool" process "$work"/small/*.kav "${ops[@]}" -o "$work/out/")
separate=$(once_ms separate_runs "$kavtool" -o)
printf '%s small spectra, reports and saves: one run %s ms, %s runs %s ms; %sx\n' \
    "$small" "$one" "$small" "$separate" "$(ratio "$separate" "$one")"
[[ $(ls "$work/out" | wc -l) == "$small" && $(ls "$work/each" | wc -l) == "$small" ]] ||
    echo "not every spectrum was saved" >&2

if [[ -n ${KAVTOOL_BEFORE:-} ]]; then
    b=$KAVTOOL_BEFORE
    echo "== before ($b)"
    printf 'ldd | wc -l: kavtool %s\n' "$(ldd "$b" | wc -l)"
    printf 'kavtool --help: %s ms\n' "$(median_ms "$b" --help)"
    read -r f p < <(paired_ms "$b")
    printf 'process, 65 520 points: %s ms; floor %s ms; ratio %s\n' "$p" "$f" "$(ratio "$p" "$f")"
    separate=$(once_ms separate_runs "$b" "")
    printf '%s small spectra, reports, %s runs: %s ms\n' "$small" "$small" "$separate"
fi
