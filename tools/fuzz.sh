#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (AddressSanitizer and UBSan) and runs each
# for the given number of seconds (default 60). A crash or sanitizer report stops the script with
# the reproducer left in build/fuzz/<target>/.
#   tools/fuzz.sh [seconds] [target...]      targets: interpret_fuzz banks_branches_fuzz ini_file_fuzz key_code_fuzz
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(interpret_fuzz banks_branches_fuzz ini_file_fuzz key_code_fuzz)
fi

out=build/fuzz
mkdir -p "$out/bin"
flags=(-std=c++20 -O1 -g -Wall -Wextra -Werror -Isrc
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# The portable sources the targets reach: base, keys, interpret, verify, and the INI reader and
# profiles that the processors read, without Win32 files.
sources=(src/config/ini_file.cpp src/config/profile_settings.cpp src/config/profiles.cpp)
for folder in src/base src/keys src/interpret src/verify; do
  for file in "$folder"/*.cpp; do
    case "$file" in *_win32.cpp) ;; *) sources+=("$file") ;; esac
  done
done

for target in "${targets[@]}"; do
  echo "=== build $target"
  clang++ "${flags[@]}" "tests/fuzz/$target.cpp" "${sources[@]}" -o "$out/bin/$target"

  corpus="$out/$target/corpus"
  mkdir -p "$corpus"
  case "$target" in
    interpret_fuzz) cp tests/fuzz/seeds/interpret/* "$corpus/" ;;
    banks_branches_fuzz) cp src/resources/banks_branches.txt "$corpus/" ;;
    ini_file_fuzz) cp src/resources/OrvexExcella.ini "$corpus/" ;;
    key_code_fuzz) cp tests/fuzz/seeds/key_code/* "$corpus/" ;;
  esac

  echo "=== run $target for $seconds s"
  # INI inputs stay small: the rules meet within a few lines, and each read parses the whole file.
  limits=()
  [ "$target" = ini_file_fuzz ] && limits=(-max_len=2048)
  (cd "$out/$target" && timeout $((seconds + 120)) "../bin/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=1024 "${limits[@]}" -print_final_stats=1 corpus)
done
