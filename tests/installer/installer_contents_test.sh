#!/usr/bin/env bash
# What the two installers hold, as 7z lists them (the 32-bit one cannot be run here):
#   tests/installer/installer_contents_test.sh <win64 setup.exe> <win32 setup.exe>
# Both ship the same files, the sample configuration among them; the reader maker's library is not.
set -euo pipefail
setup64=$1
setup32=$2
if [ ! -f "$setup32" ]; then
  echo "The 32-bit installer is not built: $setup32 (build the win32 preset)"
  exit 77
fi

# The installed files, one per line in name order; $PLUGINSDIR and the installer's own working
# names (they start with "$") are not installed.
installed_files() { 7z l -ba "$1" | cut -c54- | grep -v '^[$]' | LC_ALL=C sort; }
expected='OrvexExcella.exe
OrvexExcella.ini
Training/OrvexExcella.exe
Training/OrvexExcella.ini
Training/banks_branches.txt
Training/mtxmlmcr.dll
Training/netpbm/CombinePics.bat
Training/netpbm/combine_pics.exe
Uninstall.exe
banks_branches.txt
netpbm/CombinePics.bat
netpbm/combine_pics.exe
user-guide.html'

status=0
for setup in "$setup64" "$setup32"; do
  if [ "$(installed_files "$setup")" != "$(LC_ALL=C sort <<<"$expected")" ]; then
    echo "FAILED: $setup holds:" && installed_files "$setup"
    status=1
  fi
done
7z l "$setup64" | grep -q '^SubType = NSIS-3 Unicode 64-bit' || { echo "FAILED: $setup64 is not 64-bit"; status=1; }
7z l "$setup32" | grep -q '^SubType = NSIS-3 Unicode$' || { echo "FAILED: $setup32 is not 32-bit"; status=1; }
exit "$status"
