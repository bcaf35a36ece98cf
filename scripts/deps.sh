#!/usr/bin/env bash
# Installs the Debian 12 packages Tracella needs to build, run and test,
# only those that are missing. Uses sudo only when not already root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-image-formats-plugins qt6-qpa-plugins
  libwmf-dev libjpeg62-turbo-dev libspng-dev zlib1g-dev libpoppler-qt6-dev libsane-dev libsane1 sane-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth x11-utils fonts-dejavu-core fonts-dejavu-extra
  cups cups-bsd cups-client libcups2-dev printer-driver-cups-pdf poppler-utils
  desktop-file-utils appstream shared-mime-info libxml2-utils
  libtesseract-dev tesseract-ocr-eng
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
