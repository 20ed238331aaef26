#!/usr/bin/env bash
# Remakes the shipped skin (resources/Skins.xml, resources/Strings.xml, resources/skins/, icons/,
# resources/bitmaps/) from tools/make_skin/SkinLayout.cpp, and PNG previews of every
# picture under build/screenshots/. Run after changing the layout or the drawing code.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
source tools/wine-env.sh
mkdir -p build/screenshots
dos() { echo "Z:$(realpath "$1")" | tr / '\\'; }
rm -f resources/skins/* resources/bitmaps/* resources/icons/*
/usr/lib/wine/wine64 build/x86_64/bin/make_skin.exe "$(dos resources)" --preview "$(dos build/screenshots)" \
  </dev/null >build/make-skin.log 2>&1 || { cat build/make-skin.log; exit 1; }

# The README's pictures of the skin.
shots=build/screenshots
convert "$shots/skin-MAIN-normal.png" -strip docs/skin/main.png
convert "$shots/skin-MOUSE_PROPERTIES-normal.png" "$shots/skin-BUTTON_ASSIGNMENTS-normal.png" +append -strip docs/skin/panels.png
convert "$shots/skin-WARNING_FOUR-normal.png" -strip docs/skin/warning-four.png
echo "skin written to resources/; previews in build/screenshots/skin-*.png and docs/skin/"
