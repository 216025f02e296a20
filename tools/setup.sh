#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine (run as root; skips what is there).
#   tools/setup.sh [extra packages...]
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 xvfb fonts-dejavu-core locales
  nsis p7zip-full pandoc
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page (Windows-1255) from the Hebrew locale.
if ! locale -a 2>/dev/null | grep -qi '^he_IL\.utf8$'; then
  localedef -i he_IL -f UTF-8 he_IL.UTF-8
fi
