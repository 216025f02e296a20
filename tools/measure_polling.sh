#!/usr/bin/env bash
# Measures what polling costs under Wine: the polling timer runs against the virtual reader with an
# empty inbox, and the CPU time of the program and of the wineserver it talks to is reported.
#   tools/measure_polling.sh [seconds] [build-dir]     (defaults: 60, build/win64; build it first)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build/win64}

reader=$(mktemp -d)
trap 'rm -rf "$reader"' EXIT
mkdir -p "$reader/inbox"
export ORVEX_VIRTUAL_READER="$reader"

measure() {
  source tools/proc_readings.sh
  local server before after
  server=$(wine_process '^[^ ]*wineserver')
  before=$(cpu_seconds "$server")
  wine "$build/poll_bench.exe" "$seconds" STX_USB
  after=$(cpu_seconds "$server")
  awk -v b="$before" -v a="$after" -v s="$seconds" \
    'BEGIN { printf "wineserver CPU %.2f s = %.3f %% of one core\n", a - b, 100 * (a - b) / s }'
}
export -f measure
export build seconds
tools/wine_env.sh "$build" bash -c measure
