#!/usr/bin/env bash
# Screenshots of the program as the operator sees it, under Xvfb: the splash, the tray icon of two
# profiles, the tray menu, the details window and the exit question.
#   tools/shell_screenshots.sh [build-dir] [out-dir]     (defaults: build/win64, screenshots)
# Builds nothing: build OrvexExcella and shell_driver of the build tree first.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh imagemagick xdotool >/dev/null
build=$(realpath "${1:-build/win64}")
out=$(realpath -m "${2:-screenshots}")
mkdir -p "$out"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$build/OrvexExcella.exe" "$build/banks_branches.txt" "$folder/"
# Two profiles in two colours: the sample's first, and a second one in red with white numbers.
cp src/resources/OrvexExcella.ini "$folder/"
printf '\r\n[Red]\r\nRed=200\r\nGreen=0\r\nBlue=0\r\nIconFontSize=22\r\nTextRed=255\r\nTextGreen=255\r\nTextBlue=255\r\n' \
  >>"$folder/OrvexExcella.ini"

export folder out build
tools/wine_env.sh "$build" bash -s <<'INNER'
set -euo pipefail
# The screen's part that holds something: the root window, trimmed to what is not background.
shot() {
  sleep 0.6
  import -window root "$out/$1.png"
  convert "$out/$1.png" -trim +repage "$out/$1.png"
  echo "saved $out/$1.png"
}
drive() { wine "$build/shell_driver.exe" "$@" >/dev/null 2>&1; }
escape() { xdotool key Escape; }

cd "$folder"
wine OrvexExcella.exe /NOCHK >/dev/null 2>&1 &
program=$!
for _ in $(seq 100); do xdotool search --onlyvisible --name "Orvex" >/dev/null 2>&1 && break; sleep 0.1; done
sleep 0.2
shot splash
sleep 1
drive profile 1
shot tray-profile-1
drive tray-right
shot tray-menu
escape
drive profile 2
shot tray-profile-2
drive tray-left
shot details
drive exit
shot exit-question
xdotool key Return
wait "$program" || true
INNER
