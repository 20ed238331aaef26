#!/usr/bin/env bash
# Installs what is missing, builds, lays out a program folder under build/suite and starts
# the device service under Wine on a virtual display (it starts the tray program itself).
# Runs until interrupted.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
suite=build/suite
mkdir -p "$suite"
cp -r resources/. "$suite"/
cp build/x86_64/bin/Portwarden.exe build/x86_64/bin/Bellwick.exe build/x86_64/bin/Gearloom.exe "$suite"/ 2>/dev/null || true
WINEPREFIX="$PWD/build/wineprefix-suite"
export WINEPREFIX
source tools/wine-env.sh
echo "display $DISPLAY; starting Portwarden (Ctrl-C stops the suite)"
tools/wine-exec.sh "$suite/Portwarden.exe" &
wait
