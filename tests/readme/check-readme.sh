#!/usr/bin/env bash
# The README against the project it describes: it names every folder of the sources (to two
# levels, as "folder/"), every package scripts/install-deps installs and every stage .ci/run
# runs.
#   check-readme.sh SOURCE_FOLDER
set -euo pipefail
cd "$1"
readme=README.md
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for folder in $(git ls-files | xargs dirname | sort -u | awk -F/ '$0 != "." && NF <= 2'); do
    grep -qF -- "$folder/" "$readme" || fail "the README does not name $folder/"
done

# The package names: the words of the lists in install-deps, between the parentheses and
# in the base list (one a line).
packages=$(sed -n -e '/^packages=(/,/^)/{/^ /p}' -e 's/^ *[a-z]*) packages+=(\(.*\)) ;;$/\1/p' \
    scripts/install-deps | tr -s ' ' '\n' | sort -u)
[ -n "$packages" ] || fail "no packages read from scripts/install-deps"
for package in $packages; do
    # The whole name: "g++" is not found in "g++-mingw-w64-x86-64-posix".
    pattern=$(sed 's/[.+]/\\&/g' <<<"$package")
    grep -qE -- "(^|[^a-z0-9.+-])$pattern([^a-z0-9+-]|$)" "$readme" ||
        fail "the README does not name the package $package"
done

stages=$(sed -n 's/^stage //p' .ci/run)
[ -n "$stages" ] || fail "no stages read from .ci/run"
while read -r stage; do
    grep -qF -- "\`$stage\`" "$readme" || fail "the README does not name the CI stage $stage"
done <<<"$stages"

[ "$failures" -eq 0 ] || exit 1
echo "readme check: 1 passed, 0 failed"
