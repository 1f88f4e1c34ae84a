#!/usr/bin/env bash
# Installs the Debian packages that ostrel-widgets builds, tests and draws with, when any is missing.
# Run as root on Debian 12 (bookworm). Installs nothing when everything is already there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang clang-14 libclang-rt-14-dev clang-format clang-tidy
  libsimdjson-dev libhowardhinnant-date-dev libicu-dev libcairo2-dev libpango1.0-dev libfontconfig-dev
  libcli11-dev gettext libglib2.0-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-inter fonts-jetbrains-mono
  fonts-noto-cjk fonts-noto-color-emoji fonts-noto-core fonts-dejavu-core
  jq hyperfine libxml2-utils
  faketime
  libgtk-3-dev libgtk-layer-shell-dev libx11-dev desktop-file-utils
  xvfb sway grim waybar i3blocks imagemagick weston dbus-daemon at-spi2-core libatspi2.0-dev conky-std time
  libglib2.0-bin gnome-shell kwin-wayland
  openbox xfwm4 wmctrl xdotool picom libwayland-bin wayland-protocols
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
