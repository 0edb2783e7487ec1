#!/usr/bin/env bash
# Builds the project, installs the device image into ./device and opens the
# Velloria settings in the settings host. Extra arguments go to the host
# (for example: -c 'open Velloria; dump'). Installs missing Debian packages
# first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
cmake --install build --prefix "$PWD/device" >/dev/null
echo "device image installed in $PWD/device" >&2
if [ $# -eq 0 ]; then
  exec device/bin/settings-host --root device --open Velloria
fi
exec device/bin/settings-host --root device "$@"
