#!/usr/bin/env bash
# Screenshots of the program as the operator sees it, under Xvfb: the splash, the tray menu, the
# tray icon of two profiles in two colours, the details window on the second, and the exit question.
#   tools/shell_screenshots.sh [build-dir] [out-dir]     (defaults: build/win64, screenshots)
# Builds nothing: build OrvexExcella, virtual_reader and shell_driver of the build tree first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh imagemagick xdotool >/dev/null
build=$(realpath "${1:-build/win64}")
out=$(realpath -m "${2:-screenshots}")
mkdir -p "$out"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$build/OrvexExcella.exe" "$build/banks_branches.txt" "$build/mtxmlmcr.dll" "$folder/"
# Two profiles in two colours: the sample's first, and a second one in red with white numbers.
# The reader is polled feeder by feeder (an ImageSafe reader would wait for documents itself).
sed 's/^ExcellaDeviceName=.*/ExcellaDeviceName=STX_USB\r/' src/resources/OrvexExcella.ini >"$folder/OrvexExcella.ini"
printf '\r\n[Red]\r\nRed=200\r\nGreen=0\r\nBlue=0\r\nIconFontSize=22\r\nTextRed=255\r\nTextGreen=255\r\nTextBlue=255\r\n' \
  >>"$folder/OrvexExcella.ini"

export folder out build
tools/wine_env.sh "$build" bash -s <<'INNER'
set -euo pipefail
source tools/desktop_shots.sh

cd "$folder"
wine OrvexExcella.exe >/dev/null 2>&1 &
program=$!
wait_for_window Orvex
shot splash
sleep 1
tray tray-profile-1
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
INNER
