#!/usr/bin/env bash
# Reads back the version record, the icons, the manifest and the imports of a Windows
# executable and checks them, and its size.
#   check-resource.sh PROGRAM.exe
set -euo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

wrestool -x --raw --type=version "$exe" > "$work/version.res"
[ -s "$work/version.res" ] || fail "no version resource"
strings -e l "$work/version.res" > "$work/strings.txt"
expect_pair() { # name value: the value follows its name among the record's strings
    grep -A1 -x -- "$1" "$work/strings.txt" | tail -n 1 | grep -qx -- "$2" || fail "$1 is not $2"
}
grep -qx "040904B0" "$work/strings.txt" || fail "no string block 040904B0"
expect_pair FileVersion "1.00"
expect_pair ProductVersion "1.00"
expect_pair ProductName "Clearmark"
expect_pair InternalName "DorvansClearmark"
expect_pair OriginalFilename "DorvansClearmark.exe"
grep -qx "Translation" "$work/strings.txt" || fail "no Translation"

# The fixed part: signature FEEF04BD, then struct version, then file and product versions
# 1.0.0.0 as two pairs of 16-bit numbers (MS: 0001 0000, LS: 0000 0000).
hex=$(od -An -tx1 -v "$work/version.res" | tr -d ' \n')
fixed=${hex#*bd04effe}
[ "$fixed" != "$hex" ] || fail "no fixed file info"
file_version=${fixed:8:16}
product_version=${fixed:24:16}
[ "$file_version" = "0000010000000000" ] || fail "file version is $file_version"
[ "$product_version" = "0000010000000000" ] || fail "product version is $product_version"
# Translation 0x409, code page 1200, at the very end.
[ "${hex: -8}" = "0904b004" ] || fail "translation is ${hex: -8}"

# The application icon (1) and the About picture (2), each 32 x 32 and 16 x 16 in 16 colours.
for name in 1 2; do
    wrestool -x --type=group_icon --name=$name "$exe" > "$work/icon-$name.ico"
    icons=$(icotool -l "$work/icon-$name.ico" || true)
    echo "icon $name: $icons"
    grep -q -- "--width=32 --height=32 --bit-depth=4" <<<"$icons" || fail "icon $name: no 32 x 32 image in 16 colours"
    grep -q -- "--width=16 --height=16 --bit-depth=4" <<<"$icons" || fail "icon $name: no 16 x 16 image in 16 colours"
done
cmp -s "$work/icon-1.ico" "$work/icon-2.ico" && fail "the About picture is the application icon"

# The manifest declares the program DPI-aware.
wrestool -x --raw --type=24 "$exe" > "$work/manifest.xml"
grep -q "<dpiAware[^>]*>true</dpiAware>" "$work/manifest.xml" || fail "the manifest does not declare DPI awareness"

# A GUI program that needs nothing beside it: only Windows' own DLLs.
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q "Subsystem.*0*2.*(Windows GUI)" <<<"$headers" || fail "not a GUI program"
imports=$(grep "DLL Name:" <<<"$headers" | awk '{print tolower($3)}' | sort | tr '\n' ' ')
echo "imports: $imports"
for dll in $imports; do
    case "$dll" in
    advapi32.dll | gdi32.dll | kernel32.dll | msvcrt.dll | ole32.dll | oleacc.dll | oleaut32.dll | \
        user32.dll | shell32.dll | comctl32.dll | comdlg32.dll) ;;
    *) fail "imports $dll" ;;
    esac
done
# At most 800 KB (819,200 bytes), so it cannot creep back: the program was once 1.4 MB, the
# iostreams and locales one string stream pulled into the static executable.
limit=819200
size=$(stat -c %s "$exe")
echo "size: $size bytes (at most $limit)"
[ "$size" -le "$limit" ] || fail "the program is $size bytes, above $limit"

if [ "$failures" -eq 0 ]; then
    echo "resource check: 1 passed, 0 failed"
else
    echo "resource check: 0 passed, 1 failed"
    exit 1
fi
