#!/usr/bin/env bash
# Runs a command inside the Wine environment of one build tree:
#   tools/wine_env.sh <build-dir> <command> [args...]
# - the Wine prefix lives in <build-dir>/wineprefix, made once and reused by every later run;
# - an Xvfb display is started when none is set, and stopped afterwards (its screen is 1280x1024,
#   or ORVEX_XVFB_SCREEN, for example 2560x1600);
# - one wineserver stays up for the whole command, so each Windows program starts in a fraction
#   of a second;
# - Hebrew renders in dialogs and message boxes: the dialog fonts are replaced by DejaVu Sans and
#   the ANSI code page is Windows-1255 (ORVEX_WINE_LOCALE=C.UTF-8 runs a system without Hebrew,
#   code page 1252, as a new user abroad has it).
set -euo pipefail

build_dir=$(cd "$1" && pwd)
shift

export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL="${ORVEX_WINE_LOCALE:-he_IL.UTF-8}" LANG="${ORVEX_WINE_LOCALE:-he_IL.UTF-8}"

# The marker names the version of the prefix's settings: a prefix made by an older version of this
# script gets the current settings on its next use.
prefix_marker="$WINEPREFIX/.orvex-prefix-2"

make_prefix() {
  wineboot --init >/dev/null 2>&1
  local key='HKCU\Software\Wine\Fonts\Replacements'
  for font in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Arial" "Microsoft Sans Serif" "Segoe UI"; do
    wine reg add "$key" /v "$font" /t REG_SZ /d "DejaVu Sans" /f >/dev/null 2>&1
  done
  # Without a window manager (Xvfb), managed windows make Wine wait two seconds for every window
  # that closes; unmanaged ones close at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$prefix_marker"
}

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  display_file="$build_dir/.xvfb-display.$$"
  Xvfb -displayfd 3 -screen 0 "${ORVEX_XVFB_SCREEN:-1280x1024}x24" -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 300); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
  rm -f "$display_file"
fi

(
  flock 9
  [ -f "$prefix_marker" ] || make_prefix
) 9>"$build_dir/.wineprefix.lock"

wineserver -p
# Start Wine's resident programs now, detached from the caller's output: a test runner that waits
# for its children's output to close would otherwise wait for them too.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
export ORVEX_WINE_ENV=1
set +e
"$@"
status=$?
set -e
exit "$status"
