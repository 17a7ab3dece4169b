#!/usr/bin/env bash
# The Debian packages kav7, libtdx1 and libtdx-dev, built from this tree
# with dpkg-buildpackage (debian/), checked with lintian and tried in a
# scratch root: the packages unpacked with dpkg -x, kav7 started through the
# menu entry's launcher on the simulated spectrometer, kavtool run on a
# spectrum it makes and prints, and a C program and a CMake project built
# against the installed libtdx.
#
#   bash scripts/package.sh [--check] [--install]
#     --check    also build and run the test suite inside the package build
#     --install  then install the packages on this machine with apt and run
#                the installed program and kavtool from /usr
#
# Everything goes to build/package/: the .deb files, lintian.txt, the
# scratch root and the screenshot the packaged kav7 took.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
check=no
install=no
for arg in "$@"; do
    case $arg in
    --check) check=yes ;;
    --install) install=yes ;;
    *) echo "usage: bash scripts/package.sh [--check] [--install]" >&2; exit 2 ;;
    esac
done

scripts/install-deps.sh
scripts/install-deps.sh scripts/packages-deb.txt

out=$repo/build/package
version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
src=$out/kav7-$version
rm -rf "$out"
mkdir -p "$src"

# ---- Build: a copy of the tree without build folders, so the package build
# never sees (or writes into) the working tree.
tar -C "$repo" --exclude=./build --exclude='./build-*' --exclude='./obj-*' --exclude=./.git \
    --exclude=./.cache -cf - . | tar -C "$src" -xf -
options="parallel=$(nproc)"
profiles=""
if [[ $check == no ]]; then
    options="$options nocheck"
    profiles="-Pnocheck"
fi
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
echo "== dpkg-buildpackage ($options)"
(cd "$src" && DEB_BUILD_OPTIONS="$options" dpkg-buildpackage -b -us -uc $profiles) \
    >"$out/build.log" 2>&1 || { tail -50 "$out/build.log"; exit 1; }
changes=$out/kav7_${version}_${arch}.changes
debs=("$out/kav7_${version}_${arch}.deb" "$out/libtdx1_${version}_${arch}.deb"
    "$out/libtdx-dev_${version}_${arch}.deb")
ls -l "${debs[@]}"

# ---- lintian: no error; what it says is kept in lintian.txt.
echo "== lintian"
lintian --display-info --pedantic --fail-on error "$changes" | tee "$out/lintian.txt"

for deb in "${debs[@]}"; do
    echo "== $(basename "$deb")"
    dpkg-deb --field "$deb" Package Version Architecture Multi-Arch Depends
done

# ---- A scratch root: the packages unpacked, nothing of the build around.
root=$out/root
for deb in "${debs[@]}"; do
    dpkg -x "$deb" "$root"
done
libdir=$root/usr/lib/$multiarch
failures=0
check() { # check WHAT COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
runs_in_root() { LD_LIBRARY_PATH="$libdir" "$@"; }
runs_in_root_quiet() { runs_in_root "$@" >/dev/null 2>&1; }

echo "== the programs from the scratch root"
check "the programs carry no RUNPATH" \
    bash -c "! readelf -d '$root/usr/bin/kav7' '$root/usr/bin/kavtool' | grep -q -E 'RUNPATH|RPATH'"
check "libtdx.so.1 has its SONAME" \
    bash -c "readelf -d '$libdir/libtdx.so.1' | grep -q 'Library soname: \[libtdx.so.1\]'"
check "kavtool --version" [ "$(runs_in_root "$root/usr/bin/kavtool" --version)" == "kavtool $version" ]
work=$out/work
mkdir -p "$work"
awk 'BEGIN { for (x = 20000; x <= 45000; x += 50) {
        d = (x - 32500) / 800; printf "%d\t%d\n", x, 2048 - 1500 * d / (1 + d * d) ^ 2 } }' \
    >"$work/line.tsv"
check "kavtool import" runs_in_root "$root/usr/bin/kavtool" import "$work/line.tsv" -o "$work/line.kav"
check "kavtool info" bash -c "LD_LIBRARY_PATH='$libdir' '$root/usr/bin/kavtool' info '$work/line.kav' | grep -q 'points'"
check "kavtool process" runs_in_root_quiet "$root/usr/bin/kavtool" process "$work/line.kav" \
    --visirs 21000 44000 minmax 20 100
check "kavtool print" runs_in_root_quiet "$root/usr/bin/kavtool" print "$work/line.kav" \
    -o "$work/line.pdf" --visirs 21000 44000 minmax 20 100
check "kavtool print wrote a PDF" bash -c "head -c 5 '$work/line.pdf' | grep -q '%PDF-'"
check "kavtool listen runs its serial-line part" bash -c "LC_ALL=C LD_LIBRARY_PATH='$libdir' \
    '$root/usr/bin/kavtool' listen --port '$work/no-port' 2>&1 | grep -q 'no-port: No such file'"
shot=$out/kav7-from-package.png
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/kav7.desktop")
check "the menu entry starts the packaged launcher" [ "$exec_line" == /usr/libexec/kav7/kav7-start ]
KAV7_WORKDIR=$work/kav7 KAV7_SCREENSHOT=$shot QT_QPA_PLATFORM=offscreen \
    LD_LIBRARY_PATH="$libdir" "$root$exec_line" >"$out/kav7.log" 2>&1 ||
    { cat "$out/kav7.log"; }
check "kav7 started by the launcher wrote a first-start Kav.ini" grep -q '^PortName=SIM' "$work/kav7/Kav.ini"
check "kav7 took its picture while receiving" [ -s "$shot" ]
echo "kav7 from the package: $shot"

echo "== a lab's own C and CMake programs on the installed libtdx"
check "pkg-config and find_package(Tdx)" \
    bash "$repo/tests/packaging/tdx_consumers_test.sh" "$root" "$out/consumers" cmake

echo "== what apt would install with the packages"
apt-get install --simulate "${debs[@]}" | grep -E '^Inst' || true

if [[ $install == yes ]]; then
    echo "== apt install"
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${debs[@]}"
    check "installed kavtool --version" [ "$(kavtool --version)" == "kavtool $version" ]
    check "installed pkg-config tdx" pkg-config --exists tdx
    man -w kav7 >/dev/null && man -w kavtool >/dev/null && echo "ok: man kav7, man kavtool"
fi

echo "$failures failure(s); packages in $out"
[[ $failures -eq 0 ]]
