#!/bin/sh
# Installs the Debian packages Dorlix needs to build, test and run.
# Idempotent: packages that are already installed are skipped.
set -eu

PACKAGES="
build-essential cmake ninja-build pkg-config
qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n qt6-l10n-tools
libqt6svg6 qt6-qpa-plugins qt6-image-formats-plugins
libjpeg62-turbo-dev libjpeg-turbo-progs
libemf2svg-dev libwmf-dev libzint-dev
libcups2-dev cups cups-client cups-bsd printer-driver-cups-pdf
libfontconfig-dev
nlohmann-json3-dev
libgtest-dev libbenchmark-dev
fonts-liberation fonts-dejavu-core fontconfig
poppler-utils clang-format ccache zbar-tools
clang libclang-rt-dev llvm
xvfb xdotool imagemagick x11-utils xauth libxdamage-dev
shared-mime-info desktop-file-utils xdg-utils
glabels-data
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi

echo "Installiere:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q || true
# shellcheck disable=SC2086
$SUDO apt-get install -y -q --no-install-recommends $missing
