#!/usr/bin/env bash
# Runs one Windows program under wine64; ctest uses it as the cross-compiling emulator.
# The caller (tools/wine-env.sh) provides DISPLAY, WINEPREFIX and a running wineserver.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
exec /usr/lib/wine/wine64 "$@"
