#!/usr/bin/env bash
# A teller's long day for the program under Wine (tools/soak/soak_driver.exe): documents fed one
# after another through the virtual reader, each waited for until the program has typed, logged and
# saved it, every message box answered and counted as a report. The program's anonymous memory
# (RssAnon, from /proc) is read after the baseline document and after the last one. The run ends
# with one line,
#   soak: N documents, lost L, typed T, logged G, images I, memory growth X MB, handles growth H
# and fails when a document was lost.
#   tools/soak.sh [documents] [build-dir]     (defaults: 1000, build/win64; build soak_driver first)
set -euo pipefail
cd "$(dirname "$0")/.."
documents=${1:-1000}
build=${2:-build/win64}
if ! [[ $documents =~ ^[1-9][0-9]*$ ]]; then
  echo "tools/soak.sh: the number of documents must be a whole number above 0, not '$documents'" >&2
  exit 2
fi
if [ ! -f "$build/soak_driver.exe" ]; then
  echo "tools/soak.sh: $build/soak_driver.exe is missing; build it: cmake --build --preset win64 --target soak_driver" >&2
  exit 2
fi

# Runs the driver and answers its lines "memory from" and "memory to" with the program's RssAnon in
# MB (an empty line when the program's process is not found).
soak() {
  source tools/proc_readings.sh
  memory_reading() {
    case $1 in
      "memory from" | "memory to")
        local program
        program=$(wine_process 'OrvexExcella\.exe') || program=""
        echo "${program:+$(rss_anon_mb "$program")}" >&"$answer_fd"
        ;;
      *) return 1 ;;
    esac
  }
  run_answering memory_reading wine "$build/soak_driver.exe" "$documents"
}
export -f soak
export build documents

tools/wine_env.sh "$build" bash -c soak
