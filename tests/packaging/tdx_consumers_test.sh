#!/usr/bin/env bash
# A C program built against the libtdx installed under ROOT, once through
# pkg-config (tdx) and once through the CMake package (Tdx), runs with it and
# smooths as the library does.
#   tdx_consumers_test.sh ROOT WORK CMAKE
set -euo pipefail
root=$1
work=$2
cmake=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work"
libdir=$(dirname "$(find "$root/usr/lib" -name libtdx.so.1 | head -1)")
# A sanitized build's library brings the sanitizer runtime along; the
# consumer itself is built without it.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0:detect_leaks=0"
expected="3 3 6 9 9"
failures=0

flags=$(PKG_CONFIG_SYSROOT_DIR="$root" PKG_CONFIG_LIBDIR="$libdir/pkgconfig" \
    pkg-config --cflags --libs tdx)
echo "pkg-config --cflags --libs tdx: $flags"
# shellcheck disable=SC2086
cc -std=c99 -pedantic-errors -Wall -Werror -o "$work/by_pkg_config" "$here/tdx_consumer.c" $flags
got=$(LD_LIBRARY_PATH="$libdir" "$work/by_pkg_config")
if [[ $got == "$expected" ]]; then echo "ok: pkg-config"; else
    echo "FAIL: pkg-config build printed '$got', not '$expected'"
    failures=$((failures + 1))
fi

"$cmake" -S "$here/tdx_consumer" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
"$cmake" --build "$work/cmake" >/dev/null
got=$(LD_LIBRARY_PATH="$libdir" "$work/cmake/tdx_consumer")
if [[ $got == "$expected" ]]; then echo "ok: find_package(Tdx 1)"; else
    echo "FAIL: CMake build printed '$got', not '$expected'"
    failures=$((failures + 1))
fi
[[ $failures -eq 0 ]]
