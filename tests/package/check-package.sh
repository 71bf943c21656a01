#!/usr/bin/env bash
# Builds the Debian package from a finished build, installs it into a scratch root and
# checks what it holds: the program, the desktop entry, the icons, the metainfo (both
# validated), the media type of job files, the manual page, changelog and copyright, and the
# dependencies.
#   check-package.sh BUILD_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/clearmark_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -x "$deb" "$work/root"

root=$work/root/usr
[ -x "$root/bin/clearmark" ] || fail "no /usr/bin/clearmark"
desktop=$root/share/applications/org.clearmark.Clearmark.desktop
metainfo=$root/share/metainfo/org.clearmark.Clearmark.metainfo.xml
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo"
for size in 16 32 48 64 128; do
    icon=$root/share/icons/hicolor/${size}x${size}/apps/org.clearmark.Clearmark.png
    [ -f "$icon" ] || fail "no ${size}x${size} icon"
    file "$icon" | grep -q "$size x $size" || fail "the ${size}x${size} icon has another size"
done

desktop-file-validate "$desktop" || fail "desktop entry does not validate"
grep -qx 'Categories=Utility;Calculator;' "$desktop" || fail "categories"
# A job file opened from the file manager reaches the program as its one argument.
grep -qx 'Exec=clearmark %f' "$desktop" || fail "Exec is not 'clearmark %f'"
grep -qx 'MimeType=application/x-clearmark-job;' "$desktop" || fail "MimeType"
grep -qx 'Icon=org.clearmark.Clearmark' "$desktop" || fail "Icon"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "metainfo does not validate"
grep -q '<release version="1.0.0"' "$metainfo" || fail "no release 1.0.0"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "no MIT licence"
grep -q '<mediatype>application/x-clearmark-job</mediatype>' "$metainfo" ||
    fail "the metainfo does not provide the job files' media type"
# The job files' media type, where shared-mime-info reads it: well-formed, in its namespace,
# the one type with its glob and description.
mime=$root/share/mime/packages/org.clearmark.Clearmark.xml
python3 - "$mime" <<'PY' || fail "the media type file $mime"
import sys
import xml.etree.ElementTree as ET

ns = "{http://www.freedesktop.org/standards/shared-mime-info}"
try:
    root = ET.parse(sys.argv[1]).getroot()
except (OSError, ET.ParseError) as error:
    sys.exit(f"not read: {error}")
types = root.findall(f"{ns}mime-type")
if root.tag != f"{ns}mime-info" or len(types) != 1:
    sys.exit(f"not one media type in shared-mime-info's namespace: {root.tag}")
job = types[0]
found = {
    "type": job.get("type"),
    "globs": [glob.get("pattern") for glob in job.findall(f"{ns}glob")],
    "comment": job.findtext(f"{ns}comment"),
    "parents": [parent.get("type") for parent in job.findall(f"{ns}sub-class-of")],
}
wanted = {
    "type": "application/x-clearmark-job",
    "globs": ["*.clearmark"],
    "comment": "Clearmark job",
    "parents": ["application/json"],
}
for key, value in wanted.items():
    if found[key] != value:
        sys.exit(f"{key} is {found[key]!r}, not {value!r}")
PY
# The project has no web site: the metainfo names no address to fetch.
grep -q '://' "$metainfo" && fail "the metainfo names a web address"
doc=$root/share/doc/clearmark
for compressed in "$doc/changelog.gz" "$root/share/man/man1/clearmark.1.gz"; do
    gzip -t "$compressed" 2>/dev/null || fail "no $(basename "$compressed")"
done
grep -q '^License: Expat$' "$doc/copyright" 2>/dev/null || fail "no copyright file naming the licence"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libc6 libstdc++6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins fonts-wine fonts-liberation2; do
    grep -q "$needed" <<<"$depends" || fail "does not depend on $needed"
done
# Nothing beyond what runs the program: no development or test packages.
grep -q -E -- '-dev|gtest|benchmark|wine64|mingw' <<<"$depends" && fail "needless dependencies"

if [ "$failures" -eq 0 ]; then
    echo "package check: 1 passed, 0 failed"
else
    echo "package check: 0 passed, 1 failed"
    exit 1
fi
