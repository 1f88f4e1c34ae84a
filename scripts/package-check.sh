#!/usr/bin/env bash
# Builds the Debian package from a clean clone of the checkout (what is committed, nothing else) and
# checks it as a packager and a user meet it:
#   1. dpkg-buildpackage -us -uc -b; lintian with no error and no warning (its output is printed);
#   2. the package's files (dpkg -c); its menu entry (desktop-file-validate), user units
#      (systemd-analyze --user verify), manual pages (man --warnings at 80 columns, nothing on
#      standard error) and shell completions (bash, zsh, fish parse them; bash completes a table);
#   3. a bare Debian 12 root (debootstrap, minbase) where apt installs the package, ostrel-widgets
#      --version and gallery --sample run from PATH, and apt-get purge leaves nothing on PATH.
# Run as root (debootstrap, chroot). Usage: package-check.sh [WORK_DIR]; the root is made once per
# run in WORK_DIR (default: a fresh temporary folder, removed at the end).
# DEB_BUILD_OPTIONS passes through: CI sets nocheck, having run the same tests in its first stage.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
started=$SECONDS
step() { echo "== package: $* ($((SECONDS - started)) s)"; }
fail() { echo "package-check: $*" >&2; exit 1; }

if [[ $# -ge 1 ]]; then
  work=$1
  mkdir -p "$work"
  keep=1
else
  work=$(mktemp -d)
  keep=0
fi
work=$(cd "$work" && pwd)
root=$work/root
cleanup() {
  if mountpoint -q "$root/proc"; then umount "$root/proc" || return; fi
  if ((keep == 0)); then rm -rf "$work"; fi
}
trap cleanup EXIT
mirror=${OSTREL_DEBIAN_MIRROR:-http://deb.debian.org/debian}

step "building from a clean clone"
rm -rf "$work/src" "$work"/ostrel-widgets_* "$work"/ostrel-widgets-dbgsym_*
git clone -q "$source_dir" "$work/src"
(cd "$work/src" && dpkg-buildpackage -us -uc -b -j"$(nproc)") >"$work/build.log" 2>&1 ||
  { tail -n 40 "$work/build.log"; fail "dpkg-buildpackage failed (log: $work/build.log)"; }
deb=$(ls "$work"/ostrel-widgets_*.deb)
changes=$(ls "$work"/ostrel-widgets_*.changes)

step "lintian"
lintian --fail-on error,warning --display-info "$changes" || fail "lintian reports an error or a warning"

step "contents"
dpkg -c "$deb"
stage=$work/stage
rm -rf "$stage"
dpkg-deb -x "$deb" "$stage"

step "menu entry, user units, manual pages, completions"
for entry in "$stage"/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry"
done
# The units run the installed front; here they are checked against the unpacked one, with its
# manual page found where the package puts it.
units=$work/units
runtime=$work/runtime
rm -rf "$units" "$runtime"
mkdir -p "$units" "$runtime"
chmod 700 "$runtime"
for unit in "$stage"/usr/lib/systemd/user/*.service; do
  sed "s|/usr/bin/ostrel-widgets|$stage/usr/bin/ostrel-widgets|" "$unit" >"$units/$(basename "$unit")"
done
XDG_RUNTIME_DIR=$runtime MANPATH=$stage/usr/share/man systemd-analyze --user verify "$units"/*.service
for page in "$stage"/usr/share/man/man*/*.gz; do
  MANWIDTH=80 man --warnings -l "$page" 2>"$work/man.err" >/dev/null
  [[ ! -s $work/man.err ]] || { cat "$work/man.err"; fail "man warns about $(basename "$page")"; }
done
bash -n "$stage/usr/share/bash-completion/completions/ostrel-widgets"
zsh -n "$stage/usr/share/zsh/vendor-completions/_ostrel-widgets"
fish --no-execute "$stage/usr/share/fish/vendor_completions.d/ostrel-widgets.fish"
bash scripts/completion-check.sh "$stage/usr/share/bash-completion/completions/ostrel-widgets"

step "a bare Debian 12 root"
if [[ ! -x $root/usr/bin/apt-get ]]; then
  rm -rf "$root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 20 "$work/debootstrap.log"; fail "debootstrap failed"; }
  # Debian 12 as its users have it: with its updates and security updates.
  cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${OSTREL_DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security} bookworm-security main
SOURCES
fi
cp "$deb" "$root/tmp/"
# The programs find each other through /proc/self/exe.
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o Dpkg::Use-Pty=0 --no-install-recommends \
  "/tmp/$(basename "$deb")" >"$work/install.log" 2>&1 ||
  { tail -n 20 "$work/install.log"; fail "apt cannot install the package"; }
in_root ostrel-widgets --version
in_root sh -c 'cd /tmp && ostrel-widgets gallery --sample -o /tmp/gallery.png'
[[ -s $root/tmp/gallery.png ]] || fail "gallery --sample wrote nothing"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq -o Dpkg::Use-Pty=0 --autoremove \
  ostrel-widgets >"$work/purge.log" 2>&1 || { tail -n 20 "$work/purge.log"; fail "apt-get purge failed"; }
if in_root sh -c 'command -v ostrel-widgets'; then fail "ostrel-widgets is still on PATH after purge"; fi
left=$(find "$root" -path "$root/tmp" -prune -o -path "$root/proc" -prune -o -name '*ostrel-widgets*' -print)
[[ -z $left ]] || fail "left after purge: $left"
rm -f "$root/tmp"/*.deb "$root/tmp/gallery.png"

step "done"
