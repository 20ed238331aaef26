# Sourced by the scripts that run Windows programs: starts Xvfb with a window manager and
# one persistent wineserver in a prefix of the project's own, and stops them on exit.
# Set THARNIC_PREFIX_FRESH=1 to start from an empty prefix.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy
[ "${THARNIC_PREFIX_FRESH:-0}" = 1 ] && rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"

_tharnic_pids=()
_tharnic_stop() {
  wineserver -k >/dev/null 2>&1 || true
  for p in "${_tharnic_pids[@]}"; do kill "$p" >/dev/null 2>&1 || true; done
}
trap _tharnic_stop EXIT

for n in $(seq 90 140); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { disp=$n; break; }
done
Xvfb ":$disp" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
_tharnic_pids+=($!)
export DISPLAY=":$disp"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$disp" ] && break; sleep 0.1; done
if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  _tharnic_pids+=($!)
fi
wineserver -p
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
