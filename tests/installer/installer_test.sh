#!/usr/bin/env bash
# The 64-bit installer as a branch installs it, under Wine:
#   tests/installer/installer_test.sh <build-dir> <setup.exe> <version>
# Silent installation with the training component and the start-with-Windows entry; the training
# program, started through its watchdog launcher, reads a cheque from the virtual reader and types
# it into the recording target window; the uninstaller, run while the program and its watchdog
# still run, ends both, removes the program files and its registry entries and leaves the
# operators' files (configuration, CSV log, images, a reader library copied in by hand).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
setup=$2
version=$3
if [ -z "${ORVEX_WINE_ENV:-}" ]; then
  exec "$here/../../tools/wine_env.sh" "$build" "$0" "$@"
fi
unset ORVEX_VIRTUAL_READER

win_folder='C:\orvex-installer-test'
folder="$WINEPREFIX/drive_c/orvex-installer-test"
training="$folder/Training"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvexExcella'
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
work=$(mktemp -d)

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
expect_file() { [ -e "$1" ] || fail "$2: ${1#"$folder"/} is missing"; }
expect_no_file() { [ ! -e "$1" ] || fail "$2: ${1#"$folder"/} is still there"; }
# Runs of the installed program (the program and its watchdog), by process id.
installed_runs() { pgrep -fi 'orvex-installer-test.*OrvexExcella\.exe' || true; }
reg_value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }

# A failed run leaves no program and no sign-in entry behind in the shared prefix.
target=""
cleanup() {
  [ -z "$target" ] || kill "$target" 2>/dev/null || true
  for pid in $(installed_runs); do kill "$pid" 2>/dev/null || true; done
  wine reg delete "$run_key" /v OrvexExcella /f >/dev/null 2>&1 || true
  wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to 20 s for the command to succeed.
wait_for() {
  for _ in $(seq 200); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}

# The text the target window received: its CHAR lines as characters.
typed_text() { awk '$1 == "CHAR" { printf "%c", $2 }' "$work/keys.log"; }
typed_line_complete() { typed_text | grep -q ';'; }

rm -rf "$folder"
echo "install"
wine "$setup" /S /TRAINING /AUTOSTART "/D=$win_folder"
for file in OrvexExcella.exe banks_branches.txt netpbm/CombinePics.bat netpbm/combine_pics.exe user-guide.html \
  Uninstall.exe Training/OrvexExcella.exe Training/banks_branches.txt Training/mtxmlmcr.dll \
  Training/netpbm/CombinePics.bat Training/netpbm/combine_pics.exe; do
  expect_file "$folder/$file" "installed"
done
expect_no_file "$folder/mtxmlmcr.dll" "the reader maker's library is not shipped"
expect_no_file "$folder/OrvexExcella.ini" "the configuration comes from the first start"
[ "$(reg_value "$uninstall_key" DisplayName)" = "Orvex Excella" ] || fail "uninstall entry: DisplayName"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "uninstall entry: DisplayVersion"
[ "$(reg_value "$uninstall_key" Publisher)" = "Orvex" ] || fail "uninstall entry: Publisher"
[ "$(reg_value "$uninstall_key" UninstallString)" = "\"$win_folder\\Uninstall.exe\"" ] ||
  fail "uninstall entry: UninstallString"
[ "$(reg_value "$run_key" OrvexExcella)" = "\"$win_folder\\OrvexExcella.exe\" /ANTICRASH" ] ||
  fail "start with Windows: the watchdog launcher"

echo "type a cheque in training mode"
# What the operators keep: the main folder's configuration and a reader library copied in by hand.
printf '[Config]\r\n' >"$folder/OrvexExcella.ini"
printf 'the reader maker'"'"'s library\r\n' >"$folder/mtxmlmcr.dll"
printf '%s\r\n' '[Config]' 'ExcellaDeviceName=STX_USB' '[Teller]' 'IgnoreVerify=1' \
  'ChequeNumStart=-13' 'ChequeNumLength=13' 'ChequeNumLeadingZeros=0' \
  'ChequeBankNumStart=1' 'ChequeBankNumLength=2' 'ChequeBankNumLeadingZeros=-1' \
  'ChequeBranchNumStart=1' 'ChequeBranchNumLength=3' 'ChequeBranchNumLeadingZeros=-1' \
  'ChequeAccountNumStart=-13' 'ChequeAccountNumLength=13' 'ChequeAccountNumLeadingZeros=0' \
  'ChequeTemplate={ChequeNum}|{BankNum}|{BranchNum}|{AccountNum};' \
  'CSVFile=cheques.csv' 'ImageFileNameTemplate=images\{ChequeNum}.jpg' >"$training/OrvexExcella.ini"
# Started as the sign-in entry and the shortcuts start it; the watchdog it leaves keeps no output
# of this script open.
wine "$training/OrvexExcella.exe" /ANTICRASH </dev/null >/dev/null 2>&1
wait_for grep -qs MTMICRQueryInfo "$training/virtual-reader/calls.log" || fail "the training program polls its reader"
wine "$build/tools/keys_target/keys_target.exe" "$(winepath -w "$work/keys.log")" --lifetime 30 </dev/null >/dev/null 2>&1 &
target=$!
wait_for grep -qs '^READY' "$work/keys.log" || fail "the target window is in front"
mkdir -p "$training/virtual-reader/inbox"
printf '[Document]\r\nFeeder=ManualFeeder\r\nMICR=A0001234 C12A34567E 000123456A\r\n' >"$work/cheque.ini"
mv "$work/cheque.ini" "$training/virtual-reader/inbox/cheque.ini"
wait_for typed_line_complete || true
[ "$(typed_text)" = "1234|12|345|123456;" ] || fail "typed \"$(typed_text)\""
wait_for test -s "$training/images/1234.jpg" || fail "the cheque image is saved"
expect_file "$training/cheques.csv" "the cheque log"

echo "uninstall while the program and its watchdog run"
[ -n "$(installed_runs)" ] || fail "the program runs before the uninstaller"
wine "$folder/Uninstall.exe" /S "_?=$win_folder"
[ -z "$(installed_runs)" ] || fail "the program or its watchdog still runs after the uninstaller"
sleep 1.5
[ -z "$(installed_runs)" ] || fail "the watchdog started the program again"
for file in OrvexExcella.exe banks_branches.txt netpbm user-guide.html Training/OrvexExcella.exe \
  Training/banks_branches.txt Training/mtxmlmcr.dll Training/netpbm OrvexExcella.shutdown Training/OrvexExcella.shutdown; do
  expect_no_file "$folder/$file" "uninstalled"
done
for file in OrvexExcella.ini mtxmlmcr.dll Training/OrvexExcella.ini Training/cheques.csv Training/images/1234.jpg; do
  expect_file "$folder/$file" "the operators' file stays"
done
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstall entry stays"
[ -z "$(reg_value "$run_key" OrvexExcella)" ] || fail "the start-with-Windows entry stays"

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
rm -rf "$folder"
echo "passed"
