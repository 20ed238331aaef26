#!/usr/bin/env bash
# Builds both architectures: build/x86_64 (the one that runs under Wine) and build/i686
# (compiled only, to keep the code 32-bit clean).
#   tools/build.sh [--progress] [x86_64|i686 ...]   only the architectures named; with
#                                                   --progress the build's own lines for
#                                                   what it compiles and links, as it goes
set -euo pipefail
cd "$(dirname "$0")/.."
progress=0
arches=()
for arg in "$@"; do
  case "$arg" in
    --progress) progress=1 ;;
    x86_64 | i686) arches+=("$arg") ;;
    *) echo "usage: tools/build.sh [--progress] [x86_64|i686 ...]" >&2; exit 2 ;;
  esac
done
[ ${#arches[@]} -gt 0 ] || arches=(x86_64 i686)
jobs=$(nproc)
for arch in "${arches[@]}"; do
  cmake --no-warn-unused-cli -S . -B "build/$arch" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  if [ "$progress" = 1 ]; then
    # A target already up to date says so on every build: only what is made is shown.
    cmake --build "build/$arch" -j "$jobs" 2>&1 | { grep --line-buffered -v -E '^\[ *[0-9]+%\] Built target ' || true; }
  else
    # Progress lines are left out; with pipefail a failed build still fails the script.
    cmake --build "build/$arch" -j "$jobs" 2>&1 | { grep -v -E '^\[ *[0-9]+%\]' || true; }
  fi
done
