#!/usr/bin/env bash
# tools/screenshot.sh [file.png]: saves a picture of the display the suite runs on (the one
# tools/run-suite.sh recorded, the virtual one included). Default file:
# build/screenshots/suite-<time>.png.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -s build/suite-display ] || { echo "the suite is not running (start it with tools/run-suite.sh)" >&2; exit 1; }
out=${1:-build/screenshots/suite-$(date +%Y%m%d-%H%M%S).png}
mkdir -p "$(dirname "$out")"
import -display "$(cat build/suite-display)" -window root "$out"
echo "$out"
