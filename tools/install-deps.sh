#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the suite.
# Idempotent: returns at once when everything is there.
set -euo pipefail
pkgs=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 xvfb xauth openbox cmake googletest)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
