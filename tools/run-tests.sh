#!/usr/bin/env bash
# The test command: installs what is missing, builds both architectures, then runs every
# test program under Wine through ctest in a fresh prefix. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
tools/build.sh
THARNIC_PREFIX_FRESH=1 WINEPREFIX="$PWD/build/wineprefix-tests"
export THARNIC_PREFIX_FRESH WINEPREFIX
source tools/wine-env.sh
ctest --test-dir build/x86_64 --output-on-failure "$@"
