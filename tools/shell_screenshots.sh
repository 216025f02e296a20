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
# The screen's part that holds something: the root window, trimmed to what is not background.
shot() {
  sleep 0.3
  import -window root "$out/$1.png"
  convert "$out/$1.png" -trim +repage "$out/$1.png"
  echo "saved $out/$1.png"
}
drive() { wine "$build/tools/shell_driver.exe" "$@" >/dev/null 2>&1; }
# A click outside the menu closes it, as it does for the operator.
click_elsewhere() { xdotool mousemove 600 300 click 1; }
# The notification area Wine shows without a desktop's own: its window, at the top left.
tray() {
  sleep 0.3
  local window
  window=$(xdotool search --onlyvisible --name "Wine System Tray" | head -n 1)
  import -window "$window" "$out/$1.png"
  echo "saved $out/$1.png"
}

cd "$folder"
wine OrvexExcella.exe >/dev/null 2>&1 &
program=$!
for _ in $(seq 100); do xdotool search --onlyvisible --name "Orvex" >/dev/null 2>&1 && break; sleep 0.05; done
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
