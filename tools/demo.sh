#!/usr/bin/env bash
# Orvex Excella at work. On a fresh Debian 12 machine (as root) this installs what is missing,
# builds the program for 64-bit Windows, prepares a program folder with the virtual reader, three
# documents (tools/demo/: an Israeli cheque, a track-2 card, a US cheque) and a profile that types
# into the recording window "Orvex demo target", runs both under Wine on a virtual display, and
# prints what the window received, the CSV log and the saved images. Screenshots of the tray menu
# and the details window are left beside them.
#   tools/demo.sh [out-folder]     (default: build/demo)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh imagemagick xdotool
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target OrvexExcella virtual_reader combine_pics keys_target shell_driver

build=$(realpath build/win64)
out=$(realpath -m "${1:-build/demo}")
program="$out/program"
rm -rf "$out"
mkdir -p "$program/virtual-reader/inbox" "$out/screenshots"
cp "$build/OrvexExcella.exe" "$build/mtxmlmcr.dll" "$build/banks_branches.txt" "$program/"
cp -r "$build/netpbm" "$program/"
# The sample configuration, with its reader polled feeder by feeder, its verification on, and its
# first profile typing into the recording window only.
sed -e 's/^ExcellaDeviceName=.*/ExcellaDeviceName=STX_USB\r/' \
  -e 's/^ActivateWindow=.*/ActivateWindow=1\r/' \
  -e 's/^ActivateWindowTitle=.*/ActivateWindowTitle=Orvex demo target\r/' \
  -e 's/^IgnoreVerify=.*/IgnoreVerify=0\r/' \
  src/resources/OrvexExcella.ini >"$program/OrvexExcella.ini"

export build out program
tools/wine_env.sh "$build" bash -s <<'INNER'
set -euo pipefail
source tools/desktop_shots.sh
out="$out/screenshots"

# The recording window first, so that the program finds it when the first document comes.
(cd "$program/.." && exec wine "$build/tools/keys_target/keys_target.exe" typed.log --title "Orvex demo target" \
  --lifetime 300 >/dev/null 2>&1) &
target=$!
wait_for_window "Orvex demo target"
(cd "$program" && exec wine OrvexExcella.exe >/dev/null 2>&1) &
orvex=$!
wait_for_window "Wine System Tray"  # the program's icon is in the notification area

echo "Feeding the documents of tools/demo/ to the virtual reader"
cp tools/demo/*.ini "$program/virtual-reader/inbox/"
# Every document's text ends with ENTER.
for _ in $(seq 600); do
  [ "$(grep -c '^CHAR 13$' "$program/../typed.log" 2>/dev/null || true)" -ge 3 ] && break
  sleep 0.05
done

drive tray-right
shot tray-menu
click_elsewhere
drive tray-left
shot details
drive close
wait "$orvex" || true
kill "$target" 2>/dev/null || true
INNER

echo
echo "=== What the recording window received (TAB shown as ' | ')"
perl -CO -ne 'if (/^CHAR (\d+)$/) { my $c = chr($1); $c = "\n" if $1 == 13; $c = " | " if $1 == 9; print $c }' \
  "$out/typed.log"
echo "=== The cheque log, $program/Log.CSV"
cat "$program/Log.CSV" 2>/dev/null || echo "(none)"
echo "=== Images saved in $program"
(cd "$program" && find . \( -path ./virtual-reader -o -path ./netpbm \) -prune -o -name '*.jpg' -print | sed 's|^\./||' | sort)
echo "=== Screenshots in $out/screenshots"
ls "$out/screenshots"
if [ "$(grep -c '^CHAR 13$' "$out/typed.log")" -ne 3 ]; then
  echo "The recording window did not receive the three documents' texts once each" >&2
  exit 1
fi
