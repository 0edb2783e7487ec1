#!/bin/sh
# Installs the build into a device image, moves the image elsewhere (the
# package must not depend on where it was installed), then configures, builds
# and runs a CMake project that finds the package, once as a C caller and once
# as a C++ caller, without LD_LIBRARY_PATH.
set -eu
project=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$CMAKE" --install "$BUILD_DIR" --prefix "$work/installed" >/dev/null
mv "$work/installed" "$work/image"
image=$work/image
for language in C CXX; do
  "$CMAKE" -S "$project" -B "$work/build-$language" -DSDK_LANGUAGE=$language -DCMAKE_PREFIX_PATH="$image" \
    -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_C_FLAGS="${SANITIZE_FLAGS:-}" \
    -DCMAKE_CXX_FLAGS="${SANITIZE_FLAGS:-}" -DCMAKE_EXE_LINKER_FLAGS="${SANITIZE_FLAGS:-}" >"$work/log" 2>&1 ||
    { cat "$work/log"; exit 1; }
  "$CMAKE" --build "$work/build-$language" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
  env -u LD_LIBRARY_PATH DEVICE_ROOT="$image" "$work/build-$language/sdk-program"
done
# What the programs stored is in the domain file of the image.
grep -q "<string>0000FF</string>" "$image/var/mobile/Library/Preferences/com.quietharbor.velloria.plist"
