#!/bin/bash
# Packs the build tree as the Debian package and checks it the way dpkg, the desktop and the
# archive's own checker see it: every file a user needs is in it, owned by root with the usual
# modes; the control fields name the package, its version and the libraries it links; the
# desktop entry and the AppStream description of the unpacked package validate; lintian finds
# no errors.
#
#     check_package.sh BUILD_DIR VERSION [--with-loader]
#
# --with-loader: the build has the tray loader, so the package must carry it too.
set -eu
build=$1
version=$2
shift 2
with_loader=no
for arg in "$@"; do
    case $arg in
        --with-loader) with_loader=yes ;;
        "") ;;
        *) echo "unknown argument $arg"; exit 2 ;;
    esac
done

fail() { echo "FAIL: $*"; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian; do
    command -v "$tool" > /dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The tools below must not read or write the real home folder.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share \
    XDG_CACHE_HOME=$work/home/.cache XDG_STATE_HOME=$work/home/.local/state
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"

# The package's folders get the modes they are created with (see scripts/package.sh).
umask 022
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" > "$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack could not make the package"; }
deb=$work/cpack/notarium_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work/cpack"; fail "no package named $(basename "$deb")"; }

# The contents: what the program, the menus and the file manager look for.
dpkg-deb -c "$deb" > "$work/contents" || fail "dpkg-deb cannot read the package"
expected=(usr/bin/notarium usr/bin/notarium-cli
    usr/share/applications/io.notarium.Notarium.desktop usr/share/mime/packages/notarium.xml
    usr/share/metainfo/io.notarium.Notarium.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/notarium.svg
    usr/share/notarium/Default.key usr/share/notarium/help/index.html
    usr/share/man/man1/notarium.1.gz usr/share/man/man1/notarium-cli.1.gz
    usr/share/doc/notarium/copyright usr/share/doc/notarium/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/notarium.png")
done
[ "$with_loader" = yes ] && expected+=(usr/bin/notarium-loader usr/share/man/man1/notarium-loader.1.gz)
for file in "${expected[@]}"; do
    grep -q " \./$file\$" "$work/contents" || fail "the package lacks /$file"
done
# dpkg installs the files with the owner and mode they have in the package.
awk '$2 != "root/root" { print "not owned by root: " $0; bad = 1 }
     $1 ~ /^d/ && $1 != "drwxr-xr-x" { print "directory mode: " $0; bad = 1 }
     $1 ~ /^-/ && $NF ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x" { print "program mode: " $0; bad = 1 }
     $1 ~ /^-/ && $NF !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--" { print "file mode: " $0; bad = 1 }
     END { exit bad }' "$work/contents" || fail "owners or modes in the package"

# The control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = notarium ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version), the project is $version"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
depended=$(tr ',|' '\n\n' <<< "$depends" | sed 's/^ *//; s/ .*//')
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libstdc++6 libc6; do
    grep -qxF "$library" <<< "$depended" || fail "Depends lacks $library: $depends"
done
recommends=$(field Recommends)
for package in fcitx5-frontend-qt6 fonts-ipafont-gothic; do
    [[ "$recommends" == *"$package"* ]] || fail "Recommends lacks $package: $recommends"
done
[ "$(field Description | wc -l)" -ge 3 ] || fail "no long description: $(field Description)"

# The unpacked files, as the desktop reads them after installation.
root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/io.notarium.Notarium.desktop" \
    || fail "the packaged desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.notarium.Notarium.metainfo.xml" > "$work/as.log" \
    || { cat "$work/as.log"; fail "the packaged AppStream description"; }
zcat "$root/usr/share/doc/notarium/changelog.gz" | head -n 1 | grep -q "^notarium ($version) " \
    || fail "the change log's newest entry is not $version"
# The installed programs are the packed ones: stripped, and they run.
status=0
ASAN_OPTIONS=detect_leaks=0 "$root/usr/bin/notarium-cli" > /dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the packaged notarium-cli gave status $status, not 2"

# lintian, failing on errors; its warnings and notes are shown too.
lintian --fail-on error "$deb" > "$work/lintian.log" 2>&1 \
    || { cat "$work/lintian.log"; fail "lintian found errors"; }
grep '^E:' "$work/lintian.log" && fail "lintian found errors"
grep -v '^running with root' "$work/lintian.log" || true
echo "package $(basename "$deb") checked"
