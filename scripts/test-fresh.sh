#!/usr/bin/env bash
# Runs the README's two commands, scripts/run.sh and scripts/test.sh, as a
# newcomer would on a fresh Debian machine: in a minimal root made by
# debootstrap, entered with chroot and env -i (no LANG, an empty home), on a
# clone of this checkout's HEAD (committed files only).
#   sudo scripts/test-fresh.sh bookworm|trixie [--new]
#
# The root is kept in /var/cache/gelcoat-fresh/SUITE (GELCOAT_FRESH_CACHE
# names another folder) and used again by later runs, with the packages
# the first run installed; --new throws it away and starts from debootstrap.
# Packages come from the Debian mirror this machine's own apt sources name
# (GELCOAT_FRESH_MIRROR overrides it).
set -euo pipefail

usage() { echo "usage: $0 bookworm|trixie [--new]" >&2; exit 2; }
[ $# -ge 1 ] || usage
suite="$1"
new=false
case "$suite" in bookworm|trixie) ;; *) usage ;; esac
case "${2:-}" in --new) new=true ;; "") ;; *) usage ;; esac
[ "$(id -u)" -eq 0 ] || { echo "test-fresh: debootstrap and chroot need root" >&2; exit 1; }

checkout="$(cd "$(dirname "$0")/.." && pwd)"
cache="${GELCOAT_FRESH_CACHE:-/var/cache/gelcoat-fresh}"
root="$cache/$suite"
mkdir -p "$cache"
# One run per root at a time.
exec 9>"$cache/$suite.lock"
flock -n 9 || { echo "test-fresh: another run is using $root" >&2; exit 1; }

started=$SECONDS
step() { printf '\n=== test-fresh %s: %s (%d s so far)\n' "$suite" "$*" "$((SECONDS - started))"; }

# The host's own tools: debootstrap, and ip for the tests' network.
host_missing=()
command -v debootstrap >/dev/null || host_missing+=(debootstrap)
command -v ip >/dev/null || host_missing+=(iproute2)
if [ "${#host_missing[@]}" -gt 0 ]; then
  step "installing ${host_missing[*]} on this machine"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${host_missing[@]}"
fi

# The Debian archive this machine already uses: the first source whose
# address ends in /debian, from one-line lists and deb822 files alike.
mirror="${GELCOAT_FRESH_MIRROR:-}"
if [ -z "$mirror" ]; then
  mirror="$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
    sed -n -e 's/^[[:space:]]*URIs:[[:space:]]*//p' \
           -e 's/^[[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p' |
    tr ' ' '\n' | grep -E '^(https?|file)://.*/debian/?$' | head -n 1 || true)"
fi
[ -n "$mirror" ] || { echo "test-fresh: no Debian mirror in /etc/apt/sources*; set GELCOAT_FRESH_MIRROR" >&2; exit 1; }

mounted=()
unmount_all() {
  # Whatever the run left going inside the root (an X server, a program a
  # failed test did not stop) would keep its mounts busy.
  local pid
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    if [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ]; then
      kill -9 "$pid" 2>/dev/null || true
    fi
  done
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
  done
  mounted=()
}
trap unmount_all EXIT
# Stopped by a signal: the same clean-up, without waiting for the root's
# commands to end first (they run in the background below for that).
trap 'exit 130' INT TERM HUP
mount_in_root() {  # mount_in_root TARGET MOUNT-ARGUMENTS...
  local target="$root/$1"; shift
  mkdir -p "$target"
  mount "$@" "$target"
  mounted+=("$target")
}

# A run killed outright leaves its mounts: they go before anything in the
# root is removed (a bound /dev would take the machine's devices with it).
awk -v prefix="$root/" 'index($2, prefix) == 1 { print $2 }' /proc/self/mounts | sort -r |
  while read -r leftover; do umount "$leftover" 2>/dev/null || umount -l "$leftover"; done
if awk -v prefix="$root/" 'index($2, prefix) == 1 { found = 1 } END { exit !found }' /proc/self/mounts; then
  echo "test-fresh: file systems are still mounted in $root" >&2
  exit 1
fi

# A kept root whose package installation was cut short is made again.
if [ -e "$root/.gelcoat-fresh-complete" ] && [ -n "$(chroot "$root" dpkg --audit 2>&1)" ]; then
  echo "test-fresh: the kept root's packages are half installed; making it again" >&2
  new=true
fi
if "$new" || [ ! -e "$root/.gelcoat-fresh-complete" ]; then
  step "debootstrap --variant=minbase $suite from $mirror"
  rm -rf --one-file-system "$root"
  debootstrap --variant=minbase "$suite" "$root" "$mirror"
  touch "$root/.gelcoat-fresh-complete"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"

step "cloning $(git -C "$checkout" rev-parse --short HEAD) into the root"
work=/srv/gelcoat-fresh
rm -rf --one-file-system "${root:?}$work"
mkdir -p "$root$work/home"
git clone --quiet --no-checkout "$checkout" "$root$work/gelcoat"
git -C "$root$work/gelcoat" fetch --quiet "$checkout" HEAD
git -C "$root$work/gelcoat" checkout --quiet --detach FETCH_HEAD

mount_in_root proc -t proc proc
mount_in_root sys -t sysfs sysfs
mount_in_root dev --bind /dev
mount_in_root dev/pts --bind /dev/pts
mount_in_root dev/shm -t tmpfs -o mode=1777 shm

in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME="$work/home" /bin/bash -c "cd $work/gelcoat && $*"
}

step "scripts/run.sh"
run_start=$SECONDS
in_root scripts/run.sh &
wait $!
run_time=$((SECONDS - run_start))

# The tests get a network of their own with only the loopback: X servers
# and local sockets then meet nothing of the machine's own (Xvfb's abstract
# sockets belong to the network, not to the file system the root has).
step "scripts/test.sh"
test_start=$SECONDS
export -f in_root
export root work
unshare --net bash -c 'ip link set lo up && in_root scripts/test.sh' &
wait $!
test_time=$((SECONDS - test_start))

step "passed"
printf 'test-fresh %s: passed in %d s (scripts/run.sh %d s, scripts/test.sh %d s)\n' \
  "$suite" "$((SECONDS - started))" "$run_time" "$test_time"
