#!/usr/bin/env bash
# The Windows downloads as a user meets them, in a throwaway Wine prefix: the setup program
# installs silently (files, Start-menu shortcut, uninstall entry, job files registered), the
# installed program starts, the uninstaller removes everything again (and leaves the job files'
# extension to a program that has taken it over); the zip unpacked elsewhere runs as well.
# The program is driven by the smoke test, which starts it, finds "Dorvan's Clearmark" and
# ends it with Exit.
#   package-test.sh SETUP.exe ZIP PROGRAM.exe SMOKE_TEST.exe
# Run where make test-windows has set up the test Wine prefix (WINEPREFIX, with Wine kept
# from writing desktop menu entries into the user's home) and an X server (DISPLAY). The
# throwaway prefix is a copy of that one.
set -euo pipefail
setup=$1
zip=$2
built=$3
smoke=$4
work=$(mktemp -d)
cp -a "$WINEPREFIX" "$work/prefix"
export WINEPREFIX="$work/prefix"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
now() { date +%s%N; }
ms() { echo $((($(now) - $1) / 1000000)); }

# The setup program's own version record, and the application's icon.
wrestool -x --raw --type=version "$setup" | strings -e l >"$work/version.txt"
for pair in "ProductName Clearmark" "ProductVersion 1.0.0" "FileVersion 1.0.0" \
    "OriginalFilename $(basename "$setup")"; do
    grep -A1 -x -- "${pair%% *}" "$work/version.txt" | tail -n 1 | grep -qx -- "${pair#* }" ||
        fail "the setup program's ${pair%% *} is not ${pair#* }"
done
mkdir "$work/setup-icon" "$work/app-icon"
wrestool -x --type=14 "$setup" >"$work/setup.ico"
icotool -x -o "$work/setup-icon" "$work/setup.ico"
wrestool -x --type=14 --name=1 "$built" >"$work/app.ico"
icotool -x -o "$work/app-icon" "$work/app.ico"
for image in "$work"/app-icon/*.png; do
    found=no
    for other in "$work"/setup-icon/*.png; do
        cmp -s "$image" "$other" && found=yes
    done
    [ "$found" = yes ] || fail "the setup program lacks the icon image $(basename "$image")"
done

drive_c="$WINEPREFIX/drive_c"
folder="$drive_c/Program Files/Clearmark"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Clearmark.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Clearmark'
# The job files' extension and their file type.
job_ext='HKLM\Software\Classes\.clearmark'
job_type='HKLM\Software\Classes\Clearmark.Job'

# A value in the registry, as reg prints it: "type data". No name: the key's default value.
reg_value() { # key [name]
    local query=(/ve) label='(Default)'
    [ -z "${2:-}" ] || { query=(/v "$2"); label=$2; }
    # A missing key or value prints nothing (and does not end the script).
    { wine reg query "$1" "${query[@]}" 2>/dev/null || true; } | tr -d '\r' |
        sed -n "s/^ *$label \{1,\}\(REG_[A-Z]*\) \{1,\}\(.*\)$/\1 \2/p"
}
# A value of the uninstall entry.
value() { reg_value "$key" "$1"; }
expect_value() { # name "type data"
    local got
    got=$(value "$1")
    [ "$got" = "$2" ] || fail "$1 is '$got', not '$2'"
}
expect_default() { # key "type data"
    local got
    got=$(reg_value "$1")
    [ "$got" = "$2" ] || fail "$1 is '$got', not '$2'"
}
# Runs the uninstaller silently and waits for it: it copies itself to %TEMP% and returns
# before it is done.
uninstall() {
    wine "$folder/Uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller failed"
    for _ in $(seq 300); do
        [ -d "$folder" ] || break
        sleep 0.1
    done
}

start=$(now)
wine "$setup" /S >/dev/null 2>&1 || fail "the setup program failed"
echo "install: $(ms "$start") ms"
[ -f "$folder/DorvansClearmark.exe" ] || fail "no installed DorvansClearmark.exe"
[ -f "$folder/Uninstall.exe" ] || fail "no uninstaller"
grep -q "MIT License" "$folder/LICENSE.txt" 2>/dev/null || fail "no installed LICENSE.txt"
cmp -s "$folder/DorvansClearmark.exe" "$built" ||
    fail "the installed program is not the one built"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
target='C:\Program Files\Clearmark\DorvansClearmark.exe'
if [ -f "$shortcut" ]; then
    link=$(strings -a "$shortcut"; strings -a -e l "$shortcut")
    grep -qixF "$target" <<<"$link" || fail "the shortcut does not point at $target"
fi
expect_value DisplayName "REG_SZ Clearmark"
expect_value DisplayVersion "REG_SZ 1.0.0"
expect_value DisplayIcon "REG_SZ $target,0"
expect_value UninstallString 'REG_SZ "C:\Program Files\Clearmark\Uninstall.exe"'
expect_value InstallLocation 'REG_SZ C:\Program Files\Clearmark'
expect_value NoModify "REG_DWORD 0x1"
expect_value NoRepair "REG_DWORD 0x1"
size=$(value EstimatedSize)
kib=$(($(stat -c %s "$folder/DorvansClearmark.exe") / 1024))
case "$size" in
REG_DWORD\ 0x*) [ $((${size#REG_DWORD })) -ge "$kib" ] || fail "EstimatedSize $size is below $kib KiB" ;;
*) fail "EstimatedSize is '$size'" ;;
esac
# A job file opened from Explorer starts the installed program with its path.
expect_default "$job_ext" "REG_SZ Clearmark.Job"
expect_default "$job_type" "REG_SZ Clearmark job"
expect_default "$job_type\DefaultIcon" "REG_SZ $target,0"
expect_default "$job_type\shell\open\command" "REG_SZ \"$target\" \"%1\""

wine "$smoke" "$target" >"$work/installed.log" 2>&1 ||
    { cat "$work/installed.log"; fail "the installed program did not run as it should"; }

start=$(now)
uninstall
echo "uninstall: $(ms "$start") ms"
[ ! -d "$folder" ] || fail "the program's folder is still there"
[ ! -f "$shortcut" ] || fail "the shortcut is still there"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstall entry is still there"
wine reg query "$job_ext" >/dev/null 2>&1 && fail "the .clearmark extension is still there"
wine reg query "$job_type" >/dev/null 2>&1 && fail "the Clearmark.Job file type is still there"

# Another program that has taken the extension over keeps it when Clearmark goes.
wine "$setup" /S >/dev/null 2>&1 || fail "the setup program failed the second time"
wine reg add "$job_ext" /ve /d Other.Type /f >/dev/null 2>&1 || fail "could not take .clearmark over"
uninstall
expect_default "$job_ext" "REG_SZ Other.Type"
wine reg query "$job_type" >/dev/null 2>&1 &&
    fail "the Clearmark.Job file type is still there after the second uninstall"

# The zip: exactly the program, its licence and its README (which names the licence), and
# the program runs from where it lands.
mkdir -p "$drive_c/Portable"
(cd "$drive_c/Portable" && cmake -E tar xf "$zip")
listing=$(cd "$drive_c/Portable" && find . -type f | sort | tr '\n' ' ')
[ "$listing" = "./DorvansClearmark.exe ./LICENSE.txt ./README.txt " ] || fail "the zip holds $listing"
grep -q "MIT licence" "$drive_c/Portable/README.txt" || fail "the zip's README does not name the licence"
wine "$smoke" 'C:\Portable\DorvansClearmark.exe' >"$work/portable.log" 2>&1 ||
    { cat "$work/portable.log"; fail "the program from the zip did not run as it should"; }

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "the setup program, the uninstaller and the zip work"
