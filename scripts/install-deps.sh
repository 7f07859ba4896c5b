#!/usr/bin/env bash
# Installs the Debian packages Keystrel needs to build, run and test.
# Runs apt-get update once per call; safe to run again.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  libsdl2-dev libcairo2-dev libpango1.0-dev libfontconfig-dev libglib2.0-dev
  libhidapi-dev libudev-dev libsqlite3-dev libcurl4-openssl-dev zlib1g-dev
  libpulse-dev libx11-dev libxtst-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-open-sans fonts-noto-cjk
  xvfb xauth pulseaudio dbus-x11 sqlite3
)
# Extra packages for the virtual-machine HID test; optional, the test skips without them.
OPTIONAL=(qemu-system-x86 linux-image-amd64 busybox-static cpio)

missing=()
for p in "${PACKAGES[@]}" "${OPTIONAL[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then exit 0; fi

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${PACKAGES[@]}"
$SUDO apt-get install -y -q --no-install-recommends "${OPTIONAL[@]}" || \
  echo "install-deps: optional packages for the VM test could not be installed" >&2
