#!/usr/bin/env bash
# Installs, only where missing, the Debian packages that building and testing need.
# Safe to run again; works as root without sudo, and uses sudo when run by another user.
set -euo pipefail

packages=(
  g++ clang libclang-rt-14-dev cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev
  fonts-liberation fontconfig
  clang-format
  qemu-system-x86 busybox-static   # the virtual machine of the HID tests (scripts/vm)
  udev   # run in that machine, it tells Wine's HID bus of bridges plugged in (tests/windows)
  g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth   # the Windows programs, built and run under Wine
  lintian dpkg-dev fakeroot desktop-file-utils   # the Debian package and its checks
  wixl msitools librsvg2-bin icoutils unzip   # the MSI with its icon, and the zip unpacked by its test
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
  if command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "bootstrap: these packages are missing and I am not root: ${missing[*]}" >&2
    echo "bootstrap: install them as root, or run this script with sudo." >&2
    exit 1
  fi
fi

echo "bootstrap: installing ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
