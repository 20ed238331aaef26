# Sourced by the scripts that run Windows programs: finds or starts an X display, starts one
# persistent wineserver in a prefix of the project's own, and stops what it started on exit.
#   THARNIC_PREFIX_FRESH=1   start from an empty prefix
#   THARNIC_PERSON_DISPLAY=1 use the person's own $DISPLAY when it answers (the run command);
#                            otherwise, and always for tests, a virtual display of our own
# Exports DISPLAY, WINEPREFIX, WINESERVER and THARNIC_VIRTUAL_DISPLAY (1 when the display is ours).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINESERVER=/usr/lib/wine/wineserver64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine names Unix files in the locale's character set: under a plain C locale a Windows file
# name outside ASCII cannot be made at all, so take UTF-8 for file names when the session
# has no UTF-8 locale (a freshly installed machine, a service account).
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  unset LC_ALL
  export LC_CTYPE=C.UTF-8
fi
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY ftp_proxy no_proxy
[ "${THARNIC_PREFIX_FRESH:-0}" = 1 ] && rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"

_tharnic_pids=()
_tharnic_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  for p in "${_tharnic_pids[@]}"; do kill "$p" >/dev/null 2>&1 || true; done
}
trap _tharnic_stop EXIT

THARNIC_VIRTUAL_DISPLAY=1
if [ "${THARNIC_PERSON_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  THARNIC_VIRTUAL_DISPLAY=0
else
  # Xvfb picks a free display number itself and writes it to the given descriptor once it
  # accepts connections, so two runs started together never share a display.
  _tharnic_fd=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$_tharnic_fd" >/dev/null 2>&1 &
  _tharnic_pids+=($!)
  for _ in $(seq 100); do [ -s "$_tharnic_fd" ] && break; sleep 0.1; done
  [ -s "$_tharnic_fd" ] || { echo "Xvfb did not start" >&2; rm -f "$_tharnic_fd"; exit 1; }
  export DISPLAY=":$(tr -d '[:space:]' <"$_tharnic_fd")"
  rm -f "$_tharnic_fd"
  openbox >/dev/null 2>&1 &
  _tharnic_pids+=($!)
fi
export THARNIC_VIRTUAL_DISPLAY

# A new prefix is made by wineboot with its own short-lived server; the persistent server
# starts only after that one ended, or Wine's services would run twice.
/usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
"$WINESERVER" -w
# Wine looks for its own fonts (the caption glyphs of its dialogs, their face) under a data
# folder it names with ".." in it, which its file lookup refuses: the prefix's font folder
# gets them instead, so every program started from here on finds them.
_tharnic_fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && mkdir -p "$_tharnic_fonts"; then
  for _f in /usr/share/wine/fonts/*; do
    [ -e "$_tharnic_fonts/${_f##*/}" ] || ln -sf "$_f" "$_tharnic_fonts/"
  done
fi
"$WINESERVER" -p
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1 || true
