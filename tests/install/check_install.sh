#!/bin/bash
# Installs the build into a fresh prefix and checks what a desktop would find there: every file
# in its standard place, the installed programs run from there, the MIME package names both file
# kinds by their magic and their extension, and the AppStream description validates.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

fail() { echo "FAIL: $*"; exit 1; }
for file in bin/notarium bin/notarium-cli share/notarium/Default.key share/notarium/help/index.html \
    share/notarium/help/options.html share/applications/io.notarium.Notarium.desktop \
    share/mime/packages/notarium.xml share/metainfo/io.notarium.Notarium.metainfo.xml \
    share/icons/hicolor/scalable/apps/notarium.svg; do
    [ -e "$prefix/$file" ] || fail "$file was not installed"
done
[ -x "$prefix/bin/notarium-cli" ] || fail "notarium-cli is not executable"
# The installed tool runs from there: without arguments it shows its usage (status 2).
status=0
"$prefix/bin/notarium-cli" > /dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the installed notarium-cli gave status $status, not 2"
grep -q '^\[ShortCutKeys\]' "$prefix/share/notarium/Default.key" || fail "Default.key has no [ShortCutKeys]"
grep -q '^Exec=notarium %f$' "$prefix/share/applications/io.notarium.Notarium.desktop" || fail "Exec line"
grep -q 'MimeType=application/x-notarium-data;application/x-notarium-template;' \
    "$prefix/share/applications/io.notarium.Notarium.desktop" || fail "MimeType line"

if command -v update-mime-database > /dev/null; then
    update-mime-database "$prefix/share/mime" > /dev/null 2>&1 || fail "update-mime-database refused the package"
    grep -q 'application/x-notarium-data:\*\.nmd' "$prefix/share/mime/globs2" || fail "no *.nmd glob"
    grep -q 'application/x-notarium-template:\*\.nmt' "$prefix/share/mime/globs2" || fail "no *.nmt glob"
    [ -s "$prefix/share/mime/magic" ] || fail "no magic rules"
    grep -aq 'Notarium Data File' "$prefix/share/mime/magic" || fail "no data file magic"
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/io.notarium.Notarium.metainfo.xml" > /dev/null \
        || fail "the AppStream description does not validate"
fi
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$prefix/share/applications/io.notarium.Notarium.desktop" || fail "desktop entry"
fi
echo "installed and checked"
