#!/usr/bin/env bash
# Installs the Debian packages qiru-pk needs to build, run and test, and only
# those that are missing. Safe to run again and again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  zlib1g-dev nettle-dev libsqlite3-dev
  libusb-1.0-0-dev umockdev libumockdev-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libfuzzer-14-dev
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev
  qt6-translations-l10n
  xvfb xauth xdotool libxcb1-dev fonts-wqy-zenhei imagemagick
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then
    sudo_cmd=(sudo)
  else
    echo "setup: these packages are missing and this user cannot install them: ${missing[*]}" >&2
    echo "setup: run this script as root, or install them with apt-get" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
