#!/usr/bin/env bash
# Builds both architectures: build/x86_64 (the one that runs under Wine) and build/i686
# (compiled only, to keep the code 32-bit clean).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
for arch in x86_64 i686; do
  cmake --no-warn-unused-cli -S . -B "build/$arch" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  # Progress lines are left out; with pipefail a failed build still fails the script.
  cmake --build "build/$arch" -j "$jobs" 2>&1 | { grep -v -E '^\[ *[0-9]+%\]' || true; }
done
