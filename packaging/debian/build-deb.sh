#!/bin/sh
# Builds the Debian package of the command-line tool in the current folder, which holds
# debian/control and debian/changelog.
# Usage: build-deb.sh TOOL STRIP MANUAL COPYRIGHT LINTIAN_OVERRIDES DEB
set -eu
tool=$1 strip=$2 manual=$3 copyright=$4 overrides=$5 deb=$6
root=debian/quilvane
doc=$root/usr/share/doc/quilvane

rm -rf "$root" debian/substvars debian/files
install -d -m 0755 "$root/DEBIAN" "$root/usr/bin" "$root/usr/share/man/man1" "$doc" \
  "$root/usr/share/lintian/overrides"
install -m 0755 "$tool" "$root/usr/bin/quilvane"
# As Debian strips its programs: no debugging symbols, no comment or note section.
"$strip" --remove-section=.comment --remove-section=.note "$root/usr/bin/quilvane"
gzip -9n <"$manual" >"$root/usr/share/man/man1/quilvane.1.gz"
gzip -9n <debian/changelog >"$doc/changelog.Debian.gz"
install -m 0644 "$copyright" "$doc/copyright"
install -m 0644 "$overrides" "$root/usr/share/lintian/overrides/quilvane"
chmod 0644 "$root/usr/share/man/man1/quilvane.1.gz" "$doc/changelog.Debian.gz"

dpkg-shlibdeps -Tdebian/substvars "$root/usr/bin/quilvane"
dpkg-gencontrol -pquilvane -P"$root" -Tdebian/substvars
# What dpkg --verify checks the installed files against.
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/md5sums"
dpkg-deb --root-owner-group --build "$root" "$deb" >/dev/null
