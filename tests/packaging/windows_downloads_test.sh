#!/usr/bin/env bash
# The Windows downloads as a user meets them, in a fresh Wine prefix on the current display:
# the zip's command-line tool splits and merges; the installer installs silently for the
# user, its Start-menu shortcut starts the program and its uninstall entry is complete; a
# second install upgrades the first in place and keeps its Sysset.ini; the interactive
# uninstaller keeps the settings when asked, the silent one leaves nothing behind.
# Usage: windows_downloads_test.sh ZIP SETUP WINE_RUN VERSION
set -euo pipefail
zip=$1 setup=$2 wine_run=$3 version=$4

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "no display: the installed program's window is looked for on it"
work=$(mktemp -d)
export QUILVANE_PREFIX=$work/prefix
in_prefix() { WINEPREFIX=$QUILVANE_PREFIX WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 "$@"; }
trap 'in_prefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
unix_path() { local path=${1#C:\\}; echo "$QUILVANE_PREFIX/drive_c/${path//\\//}"; }
# The uninstaller goes on from a copy of itself in the temporary folder; this waits for it.
wait_for_wine_to_end() { timeout 60 env WINEPREFIX="$QUILVANE_PREFIX" wineserver -w || fail "$1"; }
files_in() { (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' '); }

echo "== the zip"
unzip -q "$zip" -d "$work/zip"
folder=$(basename "$zip" -win32.zip)
unpacked=$work/zip/$folder
[ "$(files_in "$work/zip")" = "./$folder ./$folder/QuilvaneSplitter.exe ./$folder/help.chm ./$folder/quilvane.exe ./$folder/readme.txt " ] ||
  fail "the zip holds: $(files_in "$work/zip")"
# Notepad on every Windows reads UTF-8 with a byte-order mark and CR LF line ends.
[ "$(head -c 3 "$unpacked/readme.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "readme.txt has no UTF-8 byte-order mark"
[ "$(grep -c $'\r$' "$unpacked/readme.txt")" = "$(wc -l <"$unpacked/readme.txt")" ] || fail "readme.txt has lines without CR LF"

mkdir -p "$work/source" "$work/pieces" "$work/merged"
source="$work/source/电影 第1部分.avi"
head -c 250000 /dev/urandom >"$source"
"$wine_run" "$unpacked/quilvane.exe" split "$(windows_path "$source")" 100k "$(windows_path "$work/pieces")" ||
  fail "the zip's quilvane.exe failed to split"
"$wine_run" "$unpacked/quilvane.exe" merge "$(windows_path "$work/pieces/电影 第1部分.hpe")" "$(windows_path "$work/merged")" ||
  fail "the zip's quilvane.exe failed to merge"
cmp "$source" "$work/merged/电影 第1部分.avi" || fail "the merged file differs from the source"

echo "== the installer, silently"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\QuilvaneSplitter'
# wine's reg writes in the console's code page, 936 under the Chinese locale.
read_entry() { entry=$(in_prefix /usr/lib/wine/wine64 reg query "$key" | iconv -f GB18030 -t UTF-8 | tr -d '\r'); }
value() { sed -n "s/^    $1    REG_[A-Z_]*    //p" <<<"$entry"; }
expect_value() { [ "$(value "$1")" = "$2" ] || fail "uninstall entry $1 is '$(value "$1")', not '$2'"; }

"$wine_run" "$setup" /S || fail "the silent install failed"
read_entry || fail "no uninstall entry $key"
location=$(value InstallLocation)
[[ $location == 'C:\users\'*'\AppData\Local\Programs\Quilvane' ]] || fail "installed into $location"
installed=$(unix_path "$location")
[ "$(files_in "$installed")" = "./QuilvaneSplitter.exe ./help.chm ./quilvane.exe ./uninstall.exe " ] ||
  fail "the install folder holds: $(files_in "$installed")"
for file in QuilvaneSplitter.exe quilvane.exe help.chm; do
  cmp "$unpacked/$file" "$installed/$file" || fail "the installed $file differs from the zip's"
done
expect_value DisplayName "Quilvane文件分割器"
expect_value DisplayVersion "$version"
expect_value DisplayIcon "$location\\QuilvaneSplitter.exe,0"
expect_value UninstallString "\"$location\\uninstall.exe\""
expect_value QuietUninstallString "\"$location\\uninstall.exe\" /S"
expect_value NoModify 0x1
expect_value NoRepair 0x1
[ -n "$(value Publisher)" ] || fail "the uninstall entry names no Publisher"
kilobytes=$(du -s --apparent-size --block-size=1K "$installed" | cut -f1)
estimated=$(($(value EstimatedSize)))
[ $((estimated - kilobytes)) -le 8 ] && [ $((kilobytes - estimated)) -le 8 ] ||
  fail "EstimatedSize is $estimated KB for $kilobytes KB installed"

shortcut="$(unix_path "${location%\\AppData\\Local\\Programs\\Quilvane}")/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quilvane文件分割器.lnk"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
"$wine_run" "$QUILVANE_PREFIX/drive_c/windows/system32/start.exe" /unix "$shortcut"
timeout 60 xdotool search --sync --name '^Quilvane文件分割器V' >/dev/null || fail "the shortcut started no program window"
in_prefix wineserver -k

echo "== an upgrade in place"
settings=$work/Sysset.ini
printf '[mains]\r\nta=li@example.com\r\nta7=smtp.example.com:465\r\n' >"$settings"
cp "$settings" "$installed/Sysset.ini"
echo "an earlier version" >"$installed/QuilvaneSplitter.exe"
"$wine_run" "$setup" /S || fail "the silent install over the first failed"
cmp -s "$settings" "$installed/Sysset.ini" || fail "the upgrade changed Sysset.ini"
cmp "$unpacked/QuilvaneSplitter.exe" "$installed/QuilvaneSplitter.exe" || fail "the upgrade left the earlier program"
read_entry
expect_value InstallLocation "$location"

echo "== the uninstaller, keeping the settings"
"$wine_run" "$installed/uninstall.exe" &
timeout 60 xdotool search --sync --onlyvisible --name '卸载$' >/dev/null || fail "the uninstaller showed no window"
sleep 2
xdotool key alt+k alt+u
deadline=$((SECONDS + 60))
until [ "$(files_in "$installed")" = "./Sysset.ini " ]; do
  [ $SECONDS -lt $deadline ] || fail "after uninstalling, keeping the settings, the folder holds: $(files_in "$installed")"
  sleep 0.5
done
xdotool key Return
wait_for_wine_to_end "the uninstaller did not close"
cmp -s "$settings" "$installed/Sysset.ini" || fail "the kept Sysset.ini changed"
! read_entry 2>/dev/null || fail "the uninstall entry is still there"
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"

echo "== the uninstaller, silently"
"$wine_run" "$setup" /S || fail "the silent install over kept settings failed"
cmp -s "$settings" "$installed/Sysset.ini" || fail "the install changed the kept Sysset.ini"
"$wine_run" "$installed/uninstall.exe" /S
wait_for_wine_to_end "the silent uninstall did not end"
[ ! -e "$installed" ] || fail "the silent uninstall left: $(files_in "$installed")"
[ ! -e "$shortcut" ] || fail "the silent uninstall left the Start-menu shortcut"
! read_entry 2>/dev/null || fail "the silent uninstall left the uninstall entry"
echo "the Windows downloads work"
