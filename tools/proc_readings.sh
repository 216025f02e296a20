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
