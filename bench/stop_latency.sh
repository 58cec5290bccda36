#!/usr/bin/env bash
# How fast a stop takes effect in the engine, natively: quilvane gets Ctrl+C (SIGINT) while it
# plans a split of 2,000,000 pieces, while it copies a piece of 30,000 MB, and after it has
# written many pieces of 100 MB, and the time from the signal to the tool's exit is printed with
# its ratio to the 200 ms budget (below 1.0 is within it). Each run must also leave the target
# folder as it was: its one old file, nothing more. A stop removes what the task wrote, and
# the file system takes its time to free many gigabytes; so the last phase is also compared
# with `rm` of as many files of the same size (a ratio near 1.0 means the time is the removal's).
# Usage: bench/stop_latency.sh [work folder]   (builds first; the sources are sparse)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null && cmake --build --preset native --target quilvane >/dev/null
tool=$PWD/build/native/quilvane
work=${1:-$PWD/build/bench-stop}
rm -rf "$work" && mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

# Starts a split, interrupts it after $3 seconds, prints the milliseconds to its exit.
stop_after() {
  local source=$1 size=$2 delay=$3 target=$work/target pid start end
  rm -rf "$target" && mkdir -p "$target" && echo old >"$target/001.pe"
  "$tool" split "$source" "$size" "$target" >/dev/null 2>&1 &
  pid=$!
  sleep "$delay"
  find "$target" -name '*.quilvane-*' | wc -l >"$work/written"
  start=$(date +%s%N)
  if ! kill -INT "$pid" 2>/dev/null; then
    echo "stop_latency: the split of $source had ended before its stop; nothing was measured" >&2
    exit 1
  fi
  wait "$pid" || true
  end=$(date +%s%N)
  if [ "$(ls -A "$target")" != "001.pe" ] || [ "$(cat "$target/001.pe")" != old ]; then
    echo "stop_latency: the stopped split left the target folder changed: $(ls -A "$target" | tr '\n' ' ')" >&2
    exit 1
  fi
  echo $(((end - start) / 1000000))
}

# Milliseconds for `rm` to remove $1 files of $2 MB, written just before as the split wrote them.
rm_reference() {
  local folder=$work/reference start end
  rm -rf "$folder" && mkdir -p "$folder"
  for ((i = 0; i < $1; ++i)); do head -c "$2M" /dev/zero >"$folder/$i"; done
  start=$(date +%s%N)
  rm -r "$folder"
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

truncate -s $((2000000 * 1024)) "$work/plan.bin"
truncate -s 40G "$work/huge.bin"
printf '%-40s %8s %8s\n' phase ms ratio
for phase in "planning 2,000,000 pieces:plan.bin:1k:0.5" "copying a 30,000 MB piece:huge.bin:30000m:1.5" \
  "after many pieces of 100 MB:huge.bin:100m:8"; do
  IFS=: read -r name file size delay <<<"$phase"
  ms=$(stop_after "$work/$file" "$size" "$delay")
  printf '%-40s %8d %8.2f\n' "$name" "$ms" "$(awk -v m="$ms" 'BEGIN{print m / 200}')"
done
pieces=$(cat "$work/written")
reference=$(rm_reference "$pieces" 100)
printf '%-40s %8d %8.2f\n' "rm of $pieces files of 100 MB" "$reference" "$(awk -v m="$ms" -v r="$reference" 'BEGIN{print m / (r ? r : 1)}')"
