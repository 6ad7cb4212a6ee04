#!/usr/bin/env bash
# The dialogs at 150 %: the simulator's picture run in English in a Wine prefix whose screen has 144 DPI (its
# own wineserver, which pivora.sh starts and stops), and once more at 96 DPI in the tests' usual prefix for
# the text-fit reference; then test_golden_pictures compares the pictures with tests/golden/144 and checks
# that no text is cut at 144 DPI that shows whole at 96.
#   check_dpi_pictures.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
root=$1
build=$2
dpi=144
out=$build/golden-check-$dpi
rm -rf "$out"
mkdir -p "$out/96"
PIVORA_BUILD=$build PIVORA_DPI=$dpi "$root/pivora.sh" shots "$out" --lang English
cd "$build/bin"
wine PivoraHost.exe --shot "$(winepath -w "$out/96")" --lang English
PIVORA_PICTURE_DPI=$dpi exec wine test_golden_pictures.exe --gtest_brief=1
