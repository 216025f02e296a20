#!/usr/bin/env bash
# The emulator of the Windows builds: tools/wine_exec.sh <build-dir> <program.exe> [args...]
# Inside tools/wine_env.sh it runs the program at once; alone it sets that environment up first.
set -euo pipefail
build_dir=$1
shift
if [ -z "${ORVEX_WINE_ENV:-}" ]; then
  exec "$(dirname "$0")/wine_env.sh" "$build_dir" "$0" "$build_dir" "$@"
fi
exec wine "$@"
