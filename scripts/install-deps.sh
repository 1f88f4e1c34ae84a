#!/usr/bin/env bash
# Installs the Debian packages that ostrel-widgets needs, when any is missing: what building and
# running need by default; with --tests also what the tests, benchmarks, static checks and the
# package check need. Run as root on Debian 12 (bookworm). Installs nothing when everything is there.
set -euo pipefail
# Building (debian/control's Build-Depends but the test ones).
build=(
  build-essential cmake ninja-build pkg-config scdoc
  libsimdjson-dev libhowardhinnant-date-dev libicu-dev libcli11-dev
  libcairo2-dev libpango1.0-dev libfontconfig-dev libglib2.0-dev
  libgtk-3-dev libgtk-layer-shell-dev libwayland-dev libwayland-bin wayland-protocols libx11-dev libglib2.0-bin
)
# Running: the fonts the faces use (debian/control's Depends beside the shared libraries).
run=(
  fonts-inter fonts-jetbrains-mono fonts-noto-cjk fonts-noto-color-emoji fonts-noto-core fonts-dejavu-core
)
# Tests, benchmarks, static checks, sanitizers and fuzzing; the display servers the desktop tests
# start; building and checking the Debian package.
tests=(
  libgtest-dev libgmock-dev libbenchmark-dev gettext libxml2-utils desktop-file-utils tzdata
  clang clang-14 libclang-rt-14-dev clang-format clang-tidy
  jq hyperfine
  xvfb sway grim weston dbus-daemon at-spi2-core libatspi2.0-dev conky-std time faketime
  waybar i3blocks imagemagick gnome-shell kwin-wayland openbox xfwm4 wmctrl xdotool x11-utils picom
  git debhelper lintian debootstrap systemd man-db bash-completion zsh fish
)
packages=("${build[@]}" "${run[@]}")
for arg in "$@"; do
  case $arg in
    --tests) packages+=("${tests[@]}") ;;
    *) echo "usage: install-deps.sh [--tests]" >&2; exit 2 ;;
  esac
done
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
