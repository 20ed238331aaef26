#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, test and run the suite, then checks
# that every program the scripts call is there. Idempotent: quick when everything is present.
set -euo pipefail
# package: what it gives the scripts
pkgs=(
  g++-mingw-w64-x86-64-posix  # x86_64-w64-mingw32-g++-posix, windres
  g++-mingw-w64-i686-posix    # i686-w64-mingw32-g++-posix
  cmake make                  # cmake, ctest; make (cmake only recommends it)
  googletest                  # /usr/src/googletest
  wine64                      # /usr/lib/wine/wine64, /usr/lib/wine/wineserver64
  fonts-wine                  # the glyphs and faces of Wine's own dialogs (wine64 only recommends it)
  xvfb xauth                  # Xvfb, the virtual display
  openbox                     # a window manager, so focus and activation behave
  x11-utils                   # xdpyinfo: is the person's display reachable
  imagemagick                 # import: pictures of the display; convert: the README's skin pictures
  groff ghostscript           # groff with the ms macros, ps2pdf: User_Guide.pdf from its text source
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Every program the scripts call, with the package that provides it.
need=(
  "x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix"
  "i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix"
  "x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64"
  "i686-w64-mingw32-windres binutils-mingw-w64-i686"
  "cmake cmake" "ctest cmake" "make make"
  "/usr/lib/wine/wine64 wine64" "/usr/lib/wine/wineserver64 wine64"
  "Xvfb xvfb" "openbox openbox" "xdpyinfo x11-utils" "import imagemagick" "convert imagemagick"
  "groff groff" "ps2pdf ghostscript"
)
for n in "${need[@]}"; do
  prog=${n% *} pkg=${n#* }
  command -v "$prog" >/dev/null 2>&1 || { echo "missing: $prog (package $pkg)"; exit 1; }
done
[ -f /usr/src/googletest/CMakeLists.txt ] || { echo "missing: /usr/src/googletest (package googletest)"; exit 1; }
[ -f /usr/share/wine/fonts/marlett.ttf ] || { echo "missing: Wine's own fonts (package fonts-wine)"; exit 1; }
[ -f /usr/share/groff/current/tmac/s.tmac ] || { echo "missing: groff's ms macros (package groff)"; exit 1; }
exit 0
