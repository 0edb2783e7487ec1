#!/bin/sh
# The section patch from an installed device image: installs the platform
# library, the tweak loader, the bulletin-board host and the patch from the
# build directory given into a fresh image, then starts the host with the
# loader. Usage: installed_image.sh BUILD_DIR
set -eu
build=$1
image=$(mktemp -d)
trap 'rm -rf "$image"' EXIT
for dir in platform host/tweakloader host/bulletinboard sectionpatch; do
  cmake -DCMAKE_INSTALL_PREFIX="$image" -P "$build/$dir/cmake_install.cmake" >/dev/null
done
# Under the sanitizers the preloaded loader comes before their runtime.
export ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0

fail() { echo "installed_image: $*" >&2; exit 1; }

patch=$image/Library/MobileSubstrate/DynamicLibraries/VelloriaSectionPatch.dylib
[ "$(head -c 4 "$patch" | od -An -c | tr -d ' ')" = '177ELF' ] || fail "$patch is not an ELF shared object"
[ -f "${patch%.dylib}.plist" ] || fail "the filter is not installed"

run() { DEVICE_ROOT=$image LD_PRELOAD=$image/lib/libtweakloader.so "$@" 'set /Library/WeeAppPlugins/Velloria.bundle' 2>&1; }

got=$(run "$image/bin/bulletin-board-host")
[ "$got" = "held BBSectionInfo /System/Library/WeeAppPlugins/Velloria.bundle" ] || fail "host not patched: $got"

ln -s "$image/bin/bulletin-board-host" "$image/bin/other-host"
got=$(run "$image/bin/other-host")
[ "$got" = "held BBSectionInfo /Library/WeeAppPlugins/Velloria.bundle" ] || fail "unnamed process patched: $got"
echo "installed image: patched bulletin-board-host, left other-host alone"
