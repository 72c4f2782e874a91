#!/usr/bin/env bash
# The installer end to end under Wine: makes an old and a new setup with
# makensis, then runs installer_check.exe in a prefix and display of its own.
# The old setup ships a changed program and one file the new one lacks, so
# the upgrade's "nothing of the old left" can be seen.
#   tests/e2e/installer/run.sh   (after scripts/build; BUILD_DIR as there)
set -euo pipefail
top=$(cd "$(dirname "$0")/../../.." && pwd)
build=${BUILD_DIR:-$top/build}
work=$build/installer-test
rm -rf "$work"
mkdir -p "$work"
cp -r "$top/dist/TarvickLite" "$work/new"
cp -r "$top/dist/TarvickLite" "$work/old"
printf 'old build' >>"$work/old/TarvickLite.exe"   # still runs: bytes after the image
echo "notes of 0.9" >"$work/old/Notes-0.9.txt"
# A program started from the folder wrote one: it must not be shipped.
rm -f "$work/old/prog.ini"
printf '[RunApp]\r\nNumber=0\r\n' >"$work/new/prog.ini"
"$top/scripts/installer" "$work/old" "$work/setup-old.exe" 0.9.0
"$top/scripts/installer" "$work/new" "$work/setup-new.exe" 1.0.0

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$top/scripts/wine-prefix" "$WINEPREFIX"
win() { winepath -w "$1" 2>/dev/null; }
export TL_SETUP_OLD=$(win "$work/setup-old.exe") TL_SETUP_NEW=$(win "$work/setup-new.exe")
export TL_DIST_OLD=$(win "$work/old") TL_DIST_NEW=$(win "$work/new")
# winepath ran without a display: its server must be gone before the virtual
# display's session starts, or that session's desktop has no display driver.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
# The output goes to a file: a program a failed check left running would
# hold a pipe open, and the tier would wait for it for good.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wine wineboot >/dev/null 2>&1
  wine "$0" >"$1" 2>&1
  rc=$?
  wineserver -k >/dev/null 2>&1
  tr -d "\r" <"$1"
  exit $rc' "$build/win/tests/e2e/installer/installer_check.exe" "$work/check.log"
