#!/usr/bin/env bash
# tools/simmouse.sh COMMAND: the person at the simulated mouse of the suite that
# `tools/run-suite.sh --simulated-mouse` runs: press, release or click a button, unplug and
# plug the mouse, show its settings and the requests it got. Without a command it lists them.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -s build/suite-display ] || { echo "the suite is not running (start it with tools/run-suite.sh --simulated-mouse)" >&2; exit 1; }
export WINEPREFIX="$PWD/build/wineprefix-suite"
DISPLAY="$(cat build/suite-display)"
export DISPLAY
exec tools/wine-exec.sh build/x86_64/bin/simmouse.exe "$@" </dev/null
