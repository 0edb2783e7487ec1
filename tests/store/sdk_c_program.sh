#!/bin/sh
# Installs the build into a fresh device image, compiles a C program with
# `pkg-config velloria` against it and runs it on that image.
set -eu
program_source=$1
image=$(mktemp -d)
trap 'rm -rf "$image"' EXIT
"$CMAKE" --install "$BUILD_DIR" --prefix "$image" >/dev/null
PKG_CONFIG_PATH="$image/lib/pkgconfig" pkg-config --exists velloria
flags=$(PKG_CONFIG_PATH="$image/lib/pkgconfig" pkg-config --cflags --libs velloria)
# shellcheck disable=SC2086
${CC:-cc} -std=c11 -Wall -Wextra -Werror ${SANITIZE_FLAGS:-} -o "$image/sdk-program" "$program_source" $flags
DEVICE_ROOT="$image" "$image/sdk-program"
# The value the program stored is in the domain file of the image.
grep -q "<string>00FF00</string>" "$image/var/mobile/Library/Preferences/com.quietharbor.velloria.plist"
