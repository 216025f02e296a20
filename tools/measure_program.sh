#!/usr/bin/env bash
# Measures the program itself under Wine, against the virtual reader (tools/program_bench): a fed
# document until its last key reaches the target window, a start until the first poll, a kill until
# the watchdog's new program polls, and the idle program's CPU and memory beside a plain window
# program, with the wineserver's CPU over the same time; then the polling timer alone
# (tools/measure_polling.sh). One line per result, with its goal.
#   tools/measure_program.sh [seconds] [build-dir]     (idle seconds; defaults: 60, build/win64; build it first)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build/win64}

# Runs the bench and takes the Unix readings over its idle time, which it marks by "idle from" and
# "idle to"; it waits for a line after "idle to" before it ends the programs.
measure() {
  source tools/proc_readings.sh
  local server program baseline before after
  server=$(wine_process '^[^ ]*wineserver')
  idle_readings() {
    case $1 in
      "idle from")
        program=$(wine_process 'OrvexExcella\.exe')
        baseline=$(wine_process 'keys_target\.exe')
        before="$(date +%s.%N) $(cpu_seconds "$server") $(cpu_seconds "$program") $(cpu_seconds "$baseline")"
        ;;
      "idle to")
        after="$(date +%s.%N) $(cpu_seconds "$server") $(cpu_seconds "$program") $(cpu_seconds "$baseline")"
        echo "$before $after $(rss_anon_mb "$program") $(rss_anon_mb "$baseline") $(debug_sections_mb "$build/OrvexExcella.exe")" | awk '{
          s = $5 - $1; server = $6 - $2; program = 100 * ($7 - $3) / s; plain = 100 * ($8 - $4) / s
          printf "idle CPU (Unix /proc): program %.3f %% of one core, plain window %.3f %%, difference %.3f %% (goal < 0.2 %%: %s)\n",
            program, plain, program - plain, program - plain < 0.2 ? "met" : "missed"
          printf "idle wineserver CPU: %.2f s = %.3f %% of one core over %.0f s (it serves every Wine process)\n",
            server, 100 * server / s, s
          printf "idle RssAnon (Unix /proc): program %.1f MB, plain window %.1f MB, difference %.1f MB (goal < 10 MB: %s)\n",
            $9, $10, $9 - $10, $9 - $10 < 10 ? "met" : "missed"
          printf "  of which the program image'"'"'s debug sections, copied by Wine: %.1f MB; without them the difference is %.1f MB\n",
            $11, $9 - $10 - $11
        }'
        echo >&"$answer_fd"
        ;;
      *) return 1 ;;
    esac
  }
  run_answering idle_readings wine "$build/program_bench.exe" "$seconds"
}
export -f measure
export build seconds

status=0
tools/wine_env.sh "$build" bash -c measure || status=$?
echo "polling timer alone (tools/measure_polling.sh, poll_bench.exe):"
tools/measure_polling.sh "$seconds" "$build" || status=$?
exit "$status"
