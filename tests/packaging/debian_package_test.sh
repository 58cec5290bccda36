#!/usr/bin/env bash
# The Debian package as a user meets it: unpacked, its quilvane splits and merges; its manual
# page renders without a warning and tells of every command and environment variable the
# tool's --help names; its Depends were worked out; lintian finds no error.
# Usage: debian_package_test.sh DEB
set -euo pipefail
deb=$1

fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

files=$(dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ {print $6}' | LC_ALL=C sort | tr '\n' ' ')
[ "$files" = "./usr/bin/quilvane ./usr/share/doc/quilvane/changelog.Debian.gz ./usr/share/doc/quilvane/copyright ./usr/share/lintian/overrides/quilvane ./usr/share/man/man1/quilvane.1.gz " ] ||
  fail "the package holds: $files"
[[ $(dpkg-deb -f "$deb" Depends) == *"libc6 (>= "* ]] || fail "Depends was not worked out: $(dpkg-deb -f "$deb" Depends)"

dpkg-deb -x "$deb" "$work/root"
tool=$work/root/usr/bin/quilvane
mkdir "$work/pieces" "$work/merged"
head -c 250000 /dev/urandom >"$work/电影 第1部分.avi"
"$tool" split "$work/电影 第1部分.avi" 100k "$work/pieces" >/dev/null || fail "the packaged quilvane failed to split"
"$tool" merge "$work/pieces/电影 第1部分.hpe" "$work/merged" >/dev/null || fail "the packaged quilvane failed to merge"
cmp "$work/电影 第1部分.avi" "$work/merged/电影 第1部分.avi" || fail "the merged file differs from the source"

LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$work/root/usr/share/man/man1/quilvane.1.gz" >"$work/manual" 2>"$work/warnings"
[ ! -s "$work/warnings" ] || fail "man warns: $(cat "$work/warnings")"
# Each command heads a paragraph of its own, each variable an entry under ENVIRONMENT.
"$tool" --help >"$work/help"
commands=$(sed -n 's/^  quilvane \([a-z]*\) .*/\1/p' "$work/help")
[ -n "$commands" ] || fail "quilvane --help names no command"
for command in $commands; do
  grep -qE "^ {7}$command( |$)" "$work/manual" || fail "the manual page tells nothing of quilvane $command"
done
for variable in $(grep -o 'QUILVANE_[A-Z_]*' "$work/help" | sort -u); do
  sed -n '/^ENVIRONMENT$/,/^[A-Z]/p' "$work/manual" | grep -qE "^ {7}$variable$" ||
    fail "the manual page's ENVIRONMENT tells nothing of $variable"
done

lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || { cat "$work/lintian"; fail "lintian reports an error"; }
cat "$work/lintian"
echo "the Debian package works"
