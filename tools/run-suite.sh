#!/usr/bin/env bash
# The run command: installs what is missing, builds, lays out a program folder under
# build/suite and starts the device service under Wine, the tray program beside it, then
# the configuration program.
# The programs appear on the person's own display when $DISPLAY answers; otherwise they run
# on a virtual display of their own, inside a Wine desktop with a task bar, and
# tools/screenshot.sh takes a picture of it. Runs until Ctrl-C, which stops everything.
#   tools/run-suite.sh --simulated-mouse   the simulated mouse driver is installed and
#                                          started first, and tools/simmouse.sh plays it
set -euo pipefail
cd "$(dirname "$0")/.."
simulated_mouse=0
for arg in "$@"; do
  case "$arg" in
    --simulated-mouse) simulated_mouse=1 ;;
    *) echo "usage: tools/run-suite.sh [--simulated-mouse]" >&2; exit 2 ;;
  esac
done
# A fresh clone spends minutes here before any window shows: say what happens meanwhile.
echo "Starting the suite: the packages it needs, then its build, then Wine and the programs."
tools/install-deps.sh
if [ -d build/x86_64 ]; then
  echo "Building what changed in build/x86_64..."
else
  echo "Building the suite in build/x86_64 for the first time (a few minutes); its progress follows."
fi
# Only the architecture that runs: the other is compiled by the test command.
tools/build.sh --progress x86_64
suite=build/suite
mkdir -p "$suite"
cp -r resources/. "$suite"/
for p in Portwarden Bellwick Gearloom; do
  [ -f "build/x86_64/bin/$p.exe" ] && cp "build/x86_64/bin/$p.exe" "$suite"/
done
cp build/x86_64/bin/User_Guide.pdf "$suite"/
export WINEPREFIX="$PWD/build/wineprefix-suite"
if [ -d "$WINEPREFIX" ]; then
  echo "Starting Wine in build/wineprefix-suite..."
else
  echo "Making the Wine prefix build/wineprefix-suite (once, about 15 s)..."
fi
THARNIC_PERSON_DISPLAY=1
source tools/wine-env.sh
echo "$DISPLAY" >build/suite-display
if [ "$THARNIC_VIRTUAL_DISPLAY" = 1 ]; then
  stopped="The suite has stopped: its programs, the Wine server and the virtual display have ended."
else
  stopped="The suite has stopped: its programs and the Wine server have ended."
fi
trap 'rm -f build/suite-display; _tharnic_stop; echo "$stopped"' EXIT

if [ "$THARNIC_VIRTUAL_DISPLAY" = 1 ]; then
  echo "No display of yours answered, so the suite runs on the virtual display $DISPLAY."
  echo "To look at it: tools/screenshot.sh [file.png] (from another terminal)."
  # Every program of the prefix runs in one Wine desktop with a task bar, so the tray icon
  # can be seen in a picture and the programs find each other's windows.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f </dev/null >/dev/null 2>&1
  # A desktop process already started for the prefix keeps its old mode: begin again with a
  # fresh server so the desktop above is the one every program runs in.
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w
  "$WINESERVER" -p
else
  echo "The suite runs on your display $DISPLAY."
  /usr/lib/wine/wine64 reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f </dev/null >/dev/null 2>&1 || true
fi
# As on Windows, .exe files are of the "exefile" type, so the shell shows a program's own icon.
/usr/lib/wine/wine64 reg add 'HKCR\.exe' /ve /d exefile /f </dev/null >/dev/null 2>&1
if [ "$simulated_mouse" = 1 ]; then
  if ! tools/wine-exec.sh build/x86_64/bin/simmouse.exe install </dev/null >build/simmouse.log 2>&1; then
    echo "The simulated mouse did not start; see build/simmouse.log." >&2
    exit 1
  fi
  echo "The simulated mouse is plugged in. From another terminal: tools/simmouse.sh click 4"
  echo "clicks its button 4, tools/simmouse.sh alone lists what else it does."
fi
tools/wine-exec.sh "$suite/Portwarden.exe" </dev/null >build/suite.log 2>&1 &
if tools/wine-exec.sh build/x86_64/bin/find_window.exe "Pelmora_Qr8_Mouse_Hid" 30 </dev/null >/dev/null 2>&1; then
  echo "Portwarden is running (its hidden window is up). Ctrl-C stops the suite."
else
  echo "Portwarden did not come up within 30 s; see build/suite.log." >&2
fi
# The tray icon beside the service, mouse or not: the service starts Bellwick at every
# opening of the mouse, so it is started here as well (a second copy ends at once).
tools/wine-exec.sh "$suite/Bellwick.exe" </dev/null >>build/suite.log 2>&1 &
if tools/wine-exec.sh build/x86_64/bin/find_window.exe "Pelmora_Qr8_TrayIcon" 30 </dev/null >/dev/null 2>&1; then
  echo "Bellwick is running: right-click its icon in the notification area for its menu."
else
  echo "Bellwick did not come up within 30 s; see build/suite.log." >&2
fi
# The configuration program's main window, beside the service and the tray.
if [ -f "$suite/Gearloom.exe" ]; then
  tools/wine-exec.sh "$suite/Gearloom.exe" </dev/null >build/gearloom.log 2>&1 &
  if tools/wine-exec.sh build/x86_64/bin/find_window.exe "Eldvarra(R) MMO Gaming Mouse: Tharnic Edition" 30 \
    </dev/null >/dev/null 2>&1; then
    echo "Gearloom's main window is open; closing it ends only Gearloom."
  else
    echo "Gearloom did not come up within 30 s; see build/gearloom.log." >&2
  fi
fi
wait
