#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the device programs need,
# only when some are missing. Safe to run again.
set -euo pipefail
pkgs=(cmake g++ clang libclang-rt-14-dev pkg-config python3
      libplist-dev libplist++-dev libicu-dev
      libobjc-12-dev gobjc libgnustep-base-dev
      libical-dev libedit-dev libcli11-dev man-db
      libcpp-httplib-dev nlohmann-json3-dev
      googletest libgtest-dev libgmock-dev libbenchmark-dev
      chromium chromium-driver python3-selenium)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}" >&2
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
