#!/usr/bin/env bash
# tools/simmouse.sh COMMAND: the person at the simulated mouse of the suite that
# `tools/run-suite.sh --simulated-mouse` runs: press, release or click a button, unplug and
# plug the mouse, show its settings and the requests it got. Without a command it lists them.
# The mouse keeps its settings from one start of the suite to the next, as a real one does;
# `tools/simmouse.sh reset` gives it its factory values, whether the suite runs or not.
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX="$PWD/build/wineprefix-suite"
if [ ! -s build/suite-display ]; then
  if [ "${1:-}" = reset ]; then
    # Nothing runs: the mouse's memory in the suite's prefix (SIMMOUSE_MEMORY_PATH of
    # tools/simmouse/SimControl.h) is forgotten, so its next start is a mouse fresh from
    # the box. Removed here, without starting Wine for it.
    rm -f "$WINEPREFIX/drive_c/windows/system32/drivers/simmouse.mem"
    echo "the simulated mouse starts with its factory settings"
    exit 0
  fi
  echo "the suite is not running (start it with tools/run-suite.sh --simulated-mouse)" >&2
  exit 1
fi
DISPLAY="$(cat build/suite-display)"
export DISPLAY
exec tools/wine-exec.sh build/x86_64/bin/simmouse.exe "$@" </dev/null
