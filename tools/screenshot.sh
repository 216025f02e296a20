#!/usr/bin/env bash
# Takes a screenshot of a Windows program's window as the operator would see it, under Xvfb:
#   tools/screenshot.sh <build-dir> <out.png> <window-title-part> <program.exe> [args...]
# Starts the program in the build tree's Wine environment, waits (at most 20 s) for a window whose
# title contains <window-title-part>, saves that window as a PNG, and ends the program.
# Example: tools/screenshot.sh build/win64 /tmp/box.png Orvex build/win64/tools/show_message.exe
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh imagemagick xdotool >/dev/null

build_dir=$1 out=$(realpath -m "$2") title=$3
shift 3

tools/wine_env.sh "$build_dir" bash -s "$out" "$title" "$@" <<'INNER'
set -euo pipefail
out=$1 title=$2
shift 2
wine "$@" >/dev/null 2>&1 &
program=$!
window=""
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "no window titled '*$title*' appeared" >&2
  kill "$program" 2>/dev/null || true
  exit 1
fi
sleep 0.5  # let it paint
import -window "$window" "$out"
kill "$program" 2>/dev/null || true
echo "saved $out"
INNER
