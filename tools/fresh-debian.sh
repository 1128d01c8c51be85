#!/bin/bash
# Runs the README's commands as a newcomer would: on a fresh minimal Debian
# (debootstrap, in a chroot), on a clean clone of a commit, as a new user
# who has sudo.
#
#   tools/fresh-debian.sh test RELEASE [COMMIT]   scripts/test.sh
#   tools/fresh-debian.sh play RELEASE [COMMIT]   scripts/play.sh, then checks
#                                                 that the game started
#   tools/fresh-debian.sh base RELEASE            only makes the cached base
#
# RELEASE is bookworm or trixie (any release debootstrap knows); COMMIT is
# one of this checkout, HEAD by default: committed work only. Needs root.
# The minimal base (nothing but debootstrap's minbase and git) is cached in
# $FRESH_CACHE (/var/cache/zenobar-fresh); each run copies it to a new
# folder under $FRESH_WORK (/var/tmp), removed at the end unless
# FRESH_KEEP=1. ZENOBAR_CTEST_ARGS is passed on to scripts/test.sh.
#
# Exit status: that of the command; 3 when no chroot could be made (not
# root, no debootstrap, no network).
set -euo pipefail
# Read whole before it runs: the file may change while a run takes its time.
{

MIRROR=${FRESH_MIRROR:-http://deb.debian.org/debian}
CACHE=${FRESH_CACHE:-/var/cache/zenobar-fresh}
WORK=${FRESH_WORK:-/var/tmp}
USERNAME=newcomer
PLAY_WAIT=${FRESH_PLAY_WAIT:-10}

usage() { echo "usage: $0 test|play|base RELEASE [COMMIT]" >&2; exit 2; }
[ $# -ge 2 ] || usage
mode=$1 release=$2 commit=${3:-HEAD}
case $mode in test|play|base) ;; *) usage ;; esac
repo=$(cd "$(dirname "$0")/.." && pwd)

cannot() { echo "fresh-debian: cannot make a $release chroot: $*" >&2; exit 3; }

step_start=0
step() { step_start=$(date +%s); echo "== $release: $*"; }
steps=""
done_step() {
    local took=$(( $(date +%s) - step_start ))
    echo "== $release: $1 took $took s"
    steps="$steps$release $1: $took s"$'\n'
}

[ "$(id -u)" -eq 0 ] || cannot "needs root"

if ! command -v debootstrap >/dev/null; then
    step "installing debootstrap"
    { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null; } \
        || cannot "debootstrap is missing and could not be installed"
    done_step "installing debootstrap"
fi

# The cached base. One run at a time makes it; the others wait.
mkdir -p "$CACHE"
base=$CACHE/$release.tar
exec 9>"$CACHE/$release.lock"
flock 9
if [ ! -s "$base" ]; then
    step "debootstrap (cached in $base)"
    tmp=$(mktemp -d "$WORK/zenobar-base.XXXXXX")
    chmod 755 "$tmp"
    if ! debootstrap --variant=minbase --include=git "$release" "$tmp" "$MIRROR" \
            > "$CACHE/$release.log" 2>&1; then
        tail -n 5 "$CACHE/$release.log" >&2
        rm -rf "$tmp"
        cannot "debootstrap failed (log in $CACHE/$release.log)"
    fi
    tar -C "$tmp" -cf "$base.tmp" . && mv "$base.tmp" "$base"
    rm -rf "$tmp"
    done_step "debootstrap"
fi
flock -u 9
[ "$mode" = base ] && exit 0

# Root may run this in a checkout of another user's.
git() { command git -c safe.directory="$repo" "$@"; }
sha=$(git -C "$repo" rev-parse --verify "$commit^{commit}") || { echo "no commit $commit" >&2; exit 2; }

root=$(mktemp -d "$WORK/zenobar-fresh-$release.XXXXXX")
chmod 755 "$root"
mounted=()
cleanup() {
    local status=$?
    set +e
    # Whatever still runs in the chroot (a game, an X server) holds the
    # mounts; these are all processes this run started.
    local pid
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null
    done
    sleep 0.5
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || echo "could not unmount ${mounted[i]}" >&2
    done
    if [ "${FRESH_KEEP:-0}" = 1 ]; then
        echo "kept $root"
    elif ! grep -q " $root/" /proc/mounts; then
        rm -rf --one-file-system "$root"
    else
        echo "left $root: something is still mounted in it" >&2
    fi
    exit $status
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mnt() { # mount ARGS... TARGET
    local target=${*: -1}
    mkdir -p "$target"
    mount "$@"
    mounted+=("$target")
}

step "copying the base"
tar -C "$root" -xf "$base"
chmod 755 "$root"
done_step "copying the base"

step "mounting and preparing the machine"
mnt -t proc proc "$root/proc"
mnt -t sysfs -o ro sysfs "$root/sys"
mnt --bind /dev "$root/dev"
# Else what is mounted under the chroot's /dev would appear in the host's too.
mount --make-rslave "$root/dev"
mnt --bind /dev/pts "$root/dev/pts"
mnt -t tmpfs -o mode=1777 shm "$root/dev/shm"
mnt -t tmpfs -o mode=1777 tmp "$root/tmp"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The chroot shares the host's name, which sudo wants to resolve.
echo "127.0.1.1 $(hostname)" >> "$root/etc/hosts"
# A desktop user of a fresh installation: an account of their own, with sudo.
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
in_root sh -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq sudo >/dev/null" \
    || cannot "no packages from $MIRROR"
in_root useradd --create-home --shell /bin/bash "$USERNAME"
echo "$USERNAME ALL=(ALL) NOPASSWD: ALL" > "$root/etc/sudoers.d/$USERNAME"
chmod 440 "$root/etc/sudoers.d/$USERNAME"
done_step "preparing the machine"

step "cloning $sha"
home=$root/home/$USERNAME
git clone -q --no-local "$repo" "$home/zenobar"
git -C "$home/zenobar" checkout -q --detach "$sha"
in_root chown -R "$USERNAME:$USERNAME" "/home/$USERNAME/zenobar"
done_step "cloning"

# The user's login shell, without the caller's environment.
as_user() {
    chroot "$root" /usr/sbin/runuser -l "$USERNAME" -c "$1" < /dev/null
}

status=0
if [ "$mode" = test ]; then
    step "scripts/test.sh"
    # In the background: bash runs the traps, and so the clean-up, only once
    # the command in the foreground has ended, but breaks off a wait.
    { as_user "cd zenobar && ZENOBAR_CTEST_ARGS='${ZENOBAR_CTEST_ARGS:-}' scripts/test.sh" 2>&1
      echo $? > "$root/test.status"; } | tee "$root/test.log" &
    wait $!
    status=$(cat "$root/test.status")
    done_step "scripts/test.sh"
    summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$root/test.log" | tail -n 1 || true)
else
    # Without a display or sound card the game waits for input for ever, so
    # the check sees it start and stay up, then ends it: its own end needs a
    # player.
    step "scripts/play.sh"
    as_user "cd zenobar && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy exec scripts/play.sh" \
        > "$root/play.log" 2>&1 &
    launcher=$!
    game=""
    while kill -0 $launcher 2>/dev/null && [ -z "$game" ]; do
        sleep 2
        for pid in $(pgrep -x zenobar || true); do
            [ "$(readlink "/proc/$pid/root")" = "$root" ] && game=$pid
        done
    done
    tail -n 20 "$root/play.log"
    if [ -z "$game" ]; then
        echo "the game did not start"
        status=1
    else
        done_step "setting up and building (the game started)"
        step "the game running for $PLAY_WAIT s"
        sleep "$PLAY_WAIT"
        if kill -0 "$game" 2>/dev/null && [ "$(readlink "/proc/$game/cwd")" = "$home/zenobar/build/game" ]; then
            echo "the game is running in build/game"
            kill "$game"
        else
            echo "the game ended early or runs elsewhere:"
            tail -n 20 "$root/play.log"
            status=1
        fi
        wait $launcher 2>/dev/null || true
        done_step "the game's check"
    fi
fi

echo "== times"
printf '%s' "$steps"
if [ "$mode" = test ]; then
    # The command's own summary, last, for whoever adds them up.
    echo "${summary:-0 passed, 1 failed}"
fi
exit $status
}
