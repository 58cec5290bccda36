#!/usr/bin/env bash
# Times quilvane's split and merge against coreutils on the same 1 GiB file and prints
# ratios (below 1.0 means quilvane was faster) and peak resident memory. quilvane also hashes
# every piece (split) and checks every piece (merge), so it is timed against coreutils without
# hashing (ratio_core) and with sha256sum doing the same work (ratio_hash; the aim is 0.8).
# Usage: bench/split_merge.sh [work folder]   (needs ~5 GiB free there; builds first)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset native >/dev/null && cmake --build --preset native --target quilvane >/dev/null
tool=$PWD/build/native/quilvane
work=${1:-$PWD/build/bench}
rm -rf "$work" && mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
source=$work/source.bin
head -c 1G /dev/urandom > "$source"

# Best wall time of five runs and the largest peak memory, as "seconds kilobytes".
measure() {
  local best="" peak=0 line seconds kb
  for _ in 1 2 3 4 5; do
    eval "$1" >/dev/null 2>&1 || true
    sync  # no earlier run's dirty pages are written back during this one
    /usr/bin/time -f '%e %M' -o "$work/time.txt" bash -c "$2" >/dev/null 2>&1
    line=$(tail -n 1 "$work/time.txt")
    seconds=${line% *}; kb=${line#* }
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN{exit !(a<b)}'; then best=$seconds; fi
    [ "$kb" -gt "$peak" ] && peak=$kb
  done
  echo "$best $peak"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b == 0) b = 0.001; printf "%.2f", a / b }'; }

printf '%-8s %-6s %8s %8s %8s %8s %10s %10s %10s %8s\n' piece task quilvane coreutil withhash cp ratio_core ratio_hash ratio_cp peak_MiB
for size in 1 100 400; do
  pieces=$work/pieces coreutil=$work/coreutil back=$work/back copy=$work/copy.bin
  reset_split="rm -rf $pieces $coreutil $copy; mkdir -p $pieces $coreutil"
  q=$(measure "$reset_split" "$tool split $source ${size}m $pieces")
  c=$(measure "$reset_split" "split -b ${size}M $source $coreutil/x")
  h=$(measure "$reset_split" "split -b ${size}M $source $coreutil/x && cd $coreutil && sha256sum x* > list")
  p=$(measure "rm -f $copy" "cp $source $copy")
  printf '%-8s %-6s %8s %8s %8s %8s %10s %10s %10s %8s\n' "${size}MiB" split "${q% *}" "${c% *}" "${h% *}" "${p% *}" \
    "$(ratio "${q% *}" "${c% *}")" "$(ratio "${q% *}" "${h% *}")" "$(ratio "${q% *}" "${p% *}")" "$(( ${q#* } / 1024 ))"
  "$tool" split "$source" "${size}m" "$pieces" >/dev/null
  split -b "${size}M" "$source" "$coreutil/x"
  (cd "$coreutil" && sha256sum x* > list)
  reset_merge="rm -rf $back; mkdir -p $back"
  q=$(measure "$reset_merge" "$tool merge $pieces/source.hpe $back")
  c=$(measure "$reset_merge" "cat $coreutil/x* > $back/cat.bin")
  h=$(measure "$reset_merge" "cd $coreutil && sha256sum -c --quiet list && cat x* > $back/cat.bin")
  printf '%-8s %-6s %8s %8s %8s %8s %10s %10s %10s %8s\n' "${size}MiB" merge "${q% *}" "${c% *}" "${h% *}" "${p% *}" \
    "$(ratio "${q% *}" "${c% *}")" "$(ratio "${q% *}" "${h% *}")" "$(ratio "${q% *}" "${p% *}")" "$(( ${q#* } / 1024 ))"
  rm -rf "$back" && mkdir -p "$back" && "$tool" merge "$pieces/source.hpe" "$back" >/dev/null
  cmp -s "$source" "$back/source.bin" || { echo "merged file differs from the source" >&2; exit 1; }
done

# The Windows build under Wine against the native one, splitting into 100 MiB pieces.
exe=$PWD/build/win32/quilvane.exe
cmake --preset win32 >/dev/null && cmake --build --preset win32 --target quilvane >/dev/null
if scripts/wine-run "$exe" --help >/dev/null 2>&1; then
  pieces=$work/pieces
  w=$(measure "rm -rf $pieces; mkdir -p $pieces" "scripts/wine-run $exe split Z:$source 100m Z:$pieces")
  n=$(measure "rm -rf $pieces; mkdir -p $pieces" "$tool split $source 100m $pieces")
  echo "win32 build under Wine, split 100 MiB pieces: ${w% *} s against native ${n% *} s, ratio $(ratio "${w% *}" "${n% *}")"
else
  echo "win32 build: this machine cannot run it under Wine"
fi
