#!/usr/bin/env bash
# Builds the Debian package of Notarium from this checkout: installs what is missing, makes a
# release build in build/package and packs it with CPack into
# build/package/notarium_VERSION_ARCH.deb; the last line printed is the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
./scripts/deps.sh
build=build/package

# Debian's own compiler and linker flags with every hardening feature (stack protector, fortified
# C library calls, relocations made read-only at start), as for a package built by Debian's tools;
# the debugging information is left out, the package's programs are stripped anyway.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cxxflags=${cxxflags//-g /}
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DNOTARIUM_BUILD_TESTS=OFF -DNOTARIUM_BUILD_BENCH=OFF -DNOTARIUM_SANITIZE=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" > /dev/null
cmake --build "$build" ${JOBS:+-j "$JOBS"}

# The package's folders get the modes they are created with; under a stricter umask they would
# be closed to everyone but root after installation.
umask 022
rm -rf "$build/deb"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/deb" > "$build/cpack.log" \
    || { cat "$build/cpack.log" >&2; exit 1; }
packages=("$build"/deb/notarium_*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || { echo "cpack made no package" >&2; exit 1; }
# Only the newest package stays, so that `apt install ./build/package/notarium_*.deb` takes it.
rm -f "$build"/notarium_*.deb
mv "${packages[0]}" "$build/"
echo "$top/$build/$(basename "${packages[0]}")"
