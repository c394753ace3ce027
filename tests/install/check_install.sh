#!/bin/bash
# Installs the build into a fresh prefix and checks what a desktop would find there: every file
# in its standard place, the icon in every PNG size at that size, the installed programs run from
# there, the MIME package names both file kinds by their magic and their extension, and the desktop
# entry and the AppStream description validate.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

fail() { echo "FAIL: $*"; exit 1; }
for file in bin/notarium bin/notarium-cli bin/notarium-loader share/man/man1/notarium-loader.1.gz share/notarium/Default.key share/notarium/help/index.html \
    share/notarium/help/options.html share/applications/io.notarium.Notarium.desktop \
    share/mime/packages/notarium.xml share/metainfo/io.notarium.Notarium.metainfo.xml \
    share/icons/hicolor/scalable/apps/notarium.svg share/man/man1/notarium.1.gz \
    share/man/man1/notarium-cli.1.gz share/doc/notarium/copyright share/doc/notarium/changelog.gz; do
    [ -e "$prefix/$file" ] || fail "$file was not installed"
done
for tool in file desktop-file-validate appstreamcli; do
    command -v "$tool" > /dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done
# Menus and docks take the PNG of the size they draw, by the folder's name (Icon=notarium).
for size in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/notarium.png
    [ -e "$png" ] || fail "no ${size}x${size} icon"
    file -b "$png" | grep -q "^PNG image data, $size x $size, 8-bit/color RGBA" \
        || fail "the ${size}x${size} icon is $(file -b "$png")"
done
for page in notarium notarium-cli; do
    zcat "$prefix/share/man/man1/$page.1.gz" | grep -q '^\.SH NAME' || fail "$page.1.gz is no manual page"
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
appstreamcli validate --no-net "$prefix/share/metainfo/io.notarium.Notarium.metainfo.xml" > /dev/null \
    || fail "the AppStream description does not validate"
desktop-file-validate "$prefix/share/applications/io.notarium.Notarium.desktop" || fail "desktop entry"
echo "installed and checked"
