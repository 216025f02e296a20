#!/usr/bin/env bash
# Screenshots of the program as the operator sees it, under Xvfb, at each DPI asked for: the splash,
# the tray menu, the tray icon of two profiles in two colours, the details window on the second,
# the exit question, and the dialogs (missing cheque data, full cheque, the "{User}" prompt, debug).
#   tools/shell_screenshots.sh [build-dir] [out-dir] [dpi...]   (defaults: build/win64, screenshots, 96)
# Each DPI's pictures go into out-dir/<dpi>/. Wine takes the DPI from LogPixels in
# HKCU\Control Panel\Desktop of the build tree's prefix, which is set back to 96 at the end.
# Builds nothing: build OrvexExcella, virtual_reader, shell_driver and show_dialogs first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh imagemagick xdotool >/dev/null
build=$(realpath "${1:-build/win64}")
out=$(realpath -m "${2:-screenshots}")
shift $(($# > 2 ? 2 : $#))
dpis="${*:-96}"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$build/OrvexExcella.exe" "$build/banks_branches.txt" "$build/mtxmlmcr.dll" "$folder/"
cp tests/data/cheque_preview.jpg "$folder/"
# Two profiles in two colours: the sample's first, and a second one in red with white numbers.
# The reader is polled feeder by feeder (an ImageSafe reader would wait for documents itself).
sed 's/^ExcellaDeviceName=.*/ExcellaDeviceName=STX_USB\r/' src/resources/OrvexExcella.ini >"$folder/OrvexExcella.ini"
printf '\r\n[Red]\r\nRed=200\r\nGreen=0\r\nBlue=0\r\nIconFontSize=22\r\nTextRed=255\r\nTextGreen=255\r\nTextBlue=255\r\n' \
  >>"$folder/OrvexExcella.ini"

export folder out build dpis
# A screen of its own, large enough for the full cheque dialog at 200 %.
DISPLAY='' ORVEX_XVFB_SCREEN=2560x1600 tools/wine_env.sh "$build" bash -s <<'INNER'
set -euo pipefail
source tools/desktop_shots.sh
desktop='HKCU\Control Panel\Desktop'
trap 'wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1' EXIT

# One dialog of tools/show_dialogs, saved once it is on the screen, then closed.
dialog() {
  local name=$1 caption=$2
  shift 2
  wine "$build/tools/show_dialogs.exe" "$@" >/dev/null 2>&1 &
  local shown=$!
  wait_for_window "$caption"
  shot "$name"
  kill "$shown" 2>/dev/null || true
  wait "$shown" 2>/dev/null || true
}

cd "$folder"
base_out=$out
for dpi in $dpis; do
  out="$base_out/$dpi"
  mkdir -p "$out"
  wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine OrvexExcella.exe >/dev/null 2>&1 &
  program=$!
  wait_for_window Orvex
  shot splash
  sleep 1
  tray tray-profile-1
  # The menu opens where the pointer is, away from the corner where the click that closes it goes.
  xdotool mousemove 400 300
  drive tray-right
  shot tray-menu
  click_elsewhere
  drive profile 2
  tray tray-profile-2
  drive tray-left
  shot details
  drive exit
  shot exit-question
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  dialog cheque-data "הכנסת פרטי צ'ק" data
  dialog cheque-full "השלמת פרטי צ'ק" full cheque_preview.jpg
  dialog user-prompt "^קורא צ'קים\$" prompt
  dialog debug Debug debug
done
INNER
