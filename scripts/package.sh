#!/bin/sh
# Builds the Debian package build/dorlix_<version>_amd64.deb from the install
# rules (cmake/Install.cmake) with CPack: programs, desktop entry, file type,
# icons and documentation under /usr, the dependencies worked out by
# dpkg-shlibdeps. Then lintian looks at it.
#   scripts/package.sh            build the package and show lintian's findings
#   BUILD_DIR=… scripts/package.sh  another build folder
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

# The tools: dpkg-shlibdeps (dpkg-dev), fakeroot, lintian.
./scripts/deps.sh
missing=""
for p in dpkg-dev fakeroot lintian file; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -q || true
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -q --no-install-recommends $missing
fi

# The copyright file and the change log a Debian package carries.
files="$BUILD_DIR/package-files"
mkdir -p "$files"
version=$(sed -n 's/^project(Dorlix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
{
    echo "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
    echo "Upstream-Name: Dorlix"
    echo ""
    echo "Files: *"
    echo "Copyright: 2026 Dorlix maintainers"
    echo "License: GPL-2+"
    echo " This program is free software; you can redistribute it and/or modify it"
    echo " under the terms of the GNU General Public License as published by the Free"
    echo " Software Foundation; either version 2 of the License, or (at your option)"
    echo " any later version."
    echo " ."
    echo " On Debian systems, the full text of the GNU General Public License"
    echo " version 2 can be found in the file /usr/share/common-licenses/GPL-2."
} > "$files/copyright"
date=$(git log -1 --format=%aD 2>/dev/null || date -R)
# A native package (no Debian revision): the change log is changelog.gz.
printf 'dorlix (%s) unstable; urgency=low\n\n  * Local build of %s.\n\n -- Dorlix maintainers <dorlix@users.noreply.example.org>  %s\n' \
    "$version" "$(git rev-parse --short HEAD 2>/dev/null || echo unknown)" "$date" |
    gzip -9n > "$files/changelog.gz"

for page in dorlix.1 dorlix-cli.1; do
    gzip -9n < "docs/man/$page" > "$files/$page.gz"
done

BUILD_DIR="$BUILD_DIR" ./scripts/build.sh
cmake -S . -B "$BUILD_DIR" -DDORLIX_PACKAGE_FILES="$(pwd)/$files" >/dev/null
cmake --build "$BUILD_DIR" --target dorlix dorlix-cli
# Files in the package belong to root, whoever builds it.
rm -f "$BUILD_DIR"/dorlix_*.deb
(cd "$BUILD_DIR" && fakeroot cpack -G DEB -B "$(pwd)")
rm -rf "$BUILD_DIR/_CPack_Packages"
# A later "cmake --install" of this build folder installs as usual again.
cmake -S . -B "$BUILD_DIR" -UDORLIX_PACKAGE_FILES >/dev/null
deb=$(ls "$BUILD_DIR"/dorlix_"$version"_*.deb)
echo "Paket: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

# lintian's view. Left for a locally built package: no upload, so the
# change log is a stub and there are no manual pages.
lintian --info --display-info "$deb" || true
