# Readings of a Unix process from /proc, for the measuring scripts (sourced by them).

# The newest process of this Wine environment ($WINEPREFIX) whose command line matches the pattern:
# other Wine environments on the machine may run the same programs, and a wineserver of their own.
wine_process() {
  local pid
  for pid in $(pgrep -f "$1" | sort -rn); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# CPU seconds a process has used so far (user and system).
cpu_seconds() {
  awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$1/stat"
}

# The process's anonymous resident memory (RssAnon) in MB: what it holds of its own, without files.
rss_anon_mb() {
  awk '/^RssAnon:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"
}

# The DWARF sections (.debug_*) of a Windows executable, in MB. Wine copies a whole image whose file
# alignment is finer than a page into private memory, debug sections included, so they count in the
# process's RssAnon; a stripped executable has none.
debug_sections_mb() {
  local total=0 size
  for size in $(x86_64-w64-mingw32-objdump -h "$1" | awk '$2 ~ /^\.debug/ { print $3 }'); do
    total=$((total + 16#$size))
  done
  awk -v bytes="$total" 'BEGIN { printf "%.1f", bytes / 1048576 }'
}

# Runs a command (a Windows program that prints marker lines for its caller) and passes its output
# on line by line, except the lines the handler takes: the handler (a function, called with the
# line) returns non-zero for a line it does not take, and writes its answers to the command's input,
# the descriptor $answer_fd. When the command has ended the loop ends too, even while a program it
# started still holds its output open. The command's exit status is returned.
#   run_answering <handler> <command> [args...]
run_answering() {
  local handler=$1 line read_status status=0 from answer_fd
  shift
  coproc answered { "$@" 2>&1; }
  local pid=$answered_PID
  exec {from}<&"${answered[0]}" {answer_fd}>&"${answered[1]}"
  while :; do
    read_status=0
    IFS= read -r -t 5 line <&"$from" || read_status=$?
    if [ "$read_status" -gt 128 ]; then  # quiet for a while
      kill -0 "$pid" 2>/dev/null && continue
      break
    fi
    [ "$read_status" -eq 0 ] || break
    line=${line%$'\r'}  # a Windows program's lines end in CR LF
    "$handler" "$line" || echo "$line"
  done
  wait "$pid" || status=$?
  return "$status"
}
