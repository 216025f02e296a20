#!/usr/bin/env bash
# The 64-bit installer as a branch installs it, under Wine:
#   tests/installer/installer_test.sh <build-dir> <setup.exe> <version>
# Silent installation with the training component and the start-with-Windows entry: the program
# folders protected and the data folders shared with the operators (the rights commands the
# installer ran, as its log lists them: Wine ignores rights, so their effect cannot be seen here);
# the training program, started through its watchdog launcher, reads a cheque from the virtual
# reader, types it into the recording target window and logs and saves it in its data folder; the
# uninstaller, run while the program and its watchdog still run, ends both through the semaphore
# in the data folder, removes the program files and its registry entries and leaves the operators'
# files (configuration, data folders, a reader library copied in by hand).
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
data="$WINEPREFIX/drive_c/ProgramData/Orvex Excella"
training_data="$data/Training"
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

rm -rf "$folder" "$data"
echo "install"
wine "$setup" /S /TRAINING /AUTOSTART "/D=$win_folder"
for file in OrvexExcella.exe banks_branches.txt netpbm/CombinePics.bat netpbm/combine_pics.exe user-guide.html \
  Uninstall.exe OrvexExcella.ini OrvexExcella.datafolder Training/OrvexExcella.exe Training/banks_branches.txt \
  Training/mtxmlmcr.dll Training/netpbm/CombinePics.bat Training/netpbm/combine_pics.exe Training/OrvexExcella.ini \
  Training/OrvexExcella.datafolder; do
  expect_file "$folder/$file" "installed"
done
expect_no_file "$folder/mtxmlmcr.dll" "the reader maker's library is not shipped"
cmp -s "$folder/OrvexExcella.ini" "$here/../../src/resources/OrvexExcella.ini" || fail "the sample configuration"
[ "$(tr -d '\r' <"$folder/OrvexExcella.datafolder")" = 'C:\ProgramData\Orvex Excella' ] || fail "the data folder file"
[ "$(tr -d '\r' <"$training/OrvexExcella.datafolder")" = 'C:\ProgramData\Orvex Excella\Training' ] ||
  fail "the training data folder file"
for dir in "$data/netpbm" "$training_data/netpbm" "$training/virtual-reader"; do
  [ -d "$dir" ] || fail "installed: ${dir#"$WINEPREFIX"/} is missing"
done
# The rights: the program folder protected without inheritance, the data folders and the training
# reader's folder shared with the Users group (S-1-5-32-545), nothing else shared.
rights=$(tr -d '\r' <"$folder/install-rights.log")
grep -qF "icacls \"$win_folder\" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /T /Q" <<<"$rights" ||
  fail "the program folder's rights: $rights"
for shared in 'C:\ProgramData\Orvex Excella' 'C:\ProgramData\Orvex Excella\Training' "$win_folder\Training\virtual-reader"; do
  grep -qF "icacls \"$shared\" /grant *S-1-5-32-545:(OI)(CI)M /T /Q" <<<"$rights" || fail "shared with the operators: $shared"
done
[ "$(grep -c ':(OI)(CI)M' <<<"$rights")" -eq 3 ] || fail "only the data folders are shared: $rights"
[ "$(reg_value "$uninstall_key" DisplayName)" = "Orvex Excella" ] || fail "uninstall entry: DisplayName"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "uninstall entry: DisplayVersion"
[ "$(reg_value "$uninstall_key" Publisher)" = "Orvex" ] || fail "uninstall entry: Publisher"
[ "$(reg_value "$uninstall_key" UninstallString)" = "\"$win_folder\\Uninstall.exe\"" ] ||
  fail "uninstall entry: UninstallString"
[ "$(reg_value "$run_key" OrvexExcella)" = "\"$win_folder\\OrvexExcella.exe\" /ANTICRASH" ] ||
  fail "start with Windows: the watchdog launcher"

echo "type a cheque in training mode"
# What the operators keep: the main folder's configuration and a reader library copied in by hand.
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
wait_for test -s "$training_data/images/1234.jpg" || fail "the cheque image is saved in the data folder"
expect_file "$training_data/cheques.csv" "the cheque log in the data folder"
expect_no_file "$training/cheques.csv" "nothing of the operators' in the program folder"

echo "uninstall while the program and its watchdog run"
[ -n "$(installed_runs)" ] || fail "the program runs before the uninstaller"
wine "$folder/Uninstall.exe" /S "_?=$win_folder"
[ -z "$(installed_runs)" ] || fail "the program or its watchdog still runs after the uninstaller"
sleep 1.5
[ -z "$(installed_runs)" ] || fail "the watchdog started the program again"
for file in OrvexExcella.exe banks_branches.txt netpbm user-guide.html install-rights.log OrvexExcella.datafolder \
  Training/OrvexExcella.exe Training/banks_branches.txt Training/mtxmlmcr.dll Training/netpbm \
  Training/OrvexExcella.datafolder; do
  expect_no_file "$folder/$file" "uninstalled"
done
for file in "$data/OrvexExcella.shutdown" "$training_data/OrvexExcella.shutdown"; do
  expect_no_file "$file" "the watchdog took its semaphore"
done
for file in "$folder/OrvexExcella.ini" "$folder/mtxmlmcr.dll" "$folder/Training/OrvexExcella.ini" \
  "$training_data/cheques.csv" "$training_data/images/1234.jpg"; do
  expect_file "$file" "the operators' file stays"
done
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstall entry stays"
[ -z "$(reg_value "$run_key" OrvexExcella)" ] || fail "the start-with-Windows entry stays"

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
rm -rf "$folder" "$data"
echo "passed"
