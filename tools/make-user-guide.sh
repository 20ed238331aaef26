#!/usr/bin/env bash
# make-user-guide.sh SOURCE.ms OUTPUT.pdf: typesets the user guide with groff (ms macros,
# PostScript) and turns it into PDF with ghostscript's ps2pdf. Run by the build.
set -euo pipefail
src=$1 out=$2
tmp=$(mktemp "${out}.XXXXXX")
trap 'rm -f "$tmp"' EXIT
groff -k -ms -Tps -dpaper=a4 -P-pa4 "$src" | ps2pdf -sPAPERSIZE=a4 -dCompatibilityLevel=1.4 - "$tmp"
chmod 644 "$tmp"
mv "$tmp" "$out"
trap - EXIT
