#!/usr/bin/env bash
# Builds the project, installs the device image into ./device and opens the
# Velloria settings in the settings host. Extra arguments go to the host
# (for example: -c 'open Velloria; dump'). Installs missing Debian packages
# first.
#
# scripts/run.sh --web [ARGS]: serves the settings as a page instead, prints
# its address and opens it in the browser when there is a desktop; Ctrl-C
# stops it.
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
if [ "$1" != --web ]; then
  exec device/bin/settings-host --root device "$@"
fi
shift
coproc served { exec device/bin/settings-host --root device --open Velloria "$@" --serve 127.0.0.1:0; }
pid=$served_PID
trap 'kill -TERM "$pid" 2>/dev/null || true' INT TERM
if IFS= read -r line <&"${served[0]}"; then
  echo "$line"
  url=${line#serving }
  if { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; } && command -v xdg-open >/dev/null; then
    xdg-open "$url" >/dev/null 2>&1 || echo "xdg-open failed: open the address yourself" >&2
  fi
  echo "serving until Ctrl-C" >&2
fi
status=0
wait "$pid" || status=$?
# A signal ends the first wait early; the host is then on its way out.
if kill -0 "$pid" 2>/dev/null; then
  status=0
  wait "$pid" || status=$?
fi
exit "$status"
