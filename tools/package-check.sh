#!/bin/bash
# Builds the Debian package as Debian would and plays it where a player
# installs it, each time on a fresh minimal Debian in a chroot made from
# tools/fresh-debian.sh's cached base:
#
#   built on Debian 12 (build-essential and the Build-Depends only), then
#   installed with apt and played on Debian 12 and on Debian 13 (where SDL
#   1.2 is sdl12-compat); built on Debian 13 and played there.
#
# Playing: a player starts `zenobar` from their login shell, headless, and
# the window gets a close request (tests/packaging/quitter.c, preloaded);
# their config and highscores must then be in their game folder. A second
# player's folder, as the version before the games layout left it (links
# into /usr/share/zenobar), must be renewed with their files kept. lintian
# runs on every build, appstreamcli validate on every installation.
#
#   tools/package-check.sh [COMMIT] [BUILT:PLAYED...]
#
# COMMIT is one of this checkout (HEAD by default; committed work only).
# BUILT:PLAYED picks runs, such as trixie:trixie; by default
# bookworm:bookworm bookworm:trixie trixie:trixie. Needs root. The packages
# and every log stay in build-package/ of this checkout ($PACKAGE_CHECK_OUT);
# FRESH_KEEP=1 keeps the chroots. Exit status: 0 when every run passed, 1
# when one failed, 3 when no chroot could be made.
set -euo pipefail
# Read whole before it runs: the file may change while a run takes its time.
{

repo=$(cd "$(dirname "$0")/.." && pwd)
CACHE=${FRESH_CACHE:-/var/cache/zenobar-fresh}
WORK=${FRESH_WORK:-/var/tmp}
OUT=${PACKAGE_CHECK_OUT:-$repo/build-package}
JOBS=${PACKAGE_CHECK_JOBS:-2}
VERA=/usr/share/fonts/truetype/ttf-bitstream-vera/Vera.ttf
METAINFO=/usr/share/metainfo/org.zenobar.Zenobar.metainfo.xml
# The validator's findings that no fact can mend: the project has no homepage.
APPSTREAM_ACCEPTED='url-homepage-missing'

commit=HEAD
if [ $# -gt 0 ] && [[ $1 != *:* ]]; then commit=$1; shift; fi
runs=${*:-bookworm:bookworm bookworm:trixie trixie:trixie}

[ "$(id -u)" -eq 0 ] || { echo "package-check: needs root" >&2; exit 3; }
git() { command git -c safe.directory="$repo" "$@"; }
sha=$(git -C "$repo" rev-parse --verify "$commit^{commit}") || { echo "no commit $commit" >&2; exit 2; }
builds=$(for run in $runs; do echo "${run%%:*}"; done | sort -u)
releases=$(for run in $runs; do echo "${run%%:*}"; echo "${run#*:}"; done | sort -u)
for release in $releases; do
    "$repo/tools/fresh-debian.sh" base "$release" || exit 3
done
mkdir -p "$OUT"

# The steps run in subshells, so their times go to a file.
times=$OUT/times.txt
: >"$times"
step_start=0
step() { step_start=$(date +%s); echo "== $*"; }
done_step() {
    local took=$(($(date +%s) - step_start))
    echo "== $1 took $took s"
    echo "$1: $took s" >>"$times"
}
results=""
failed=0
result() { # what, passed|FAILED
    results="$results$1: $2"$'\n'
    [ "$2" = passed ] || failed=1
}
# Runs a step in a chroot of RELEASE, in a subshell of its own so that any
# command failing there ends it (errexit holds in a subshell only when
# nothing tests its status).
in_chroot() { # WHAT RELEASE FUNCTION ARGS...
    local what=$1 status
    chroot_up "$2"
    shift 2
    set +e
    (set -e; "$@")
    status=$?
    set -e
    chroot_down
    if [ $status -eq 0 ]; then result "$what" passed; else result "$what" FAILED; fi
}

# One chroot at a time, in $root, made from the cached base as
# tools/fresh-debian.sh makes its own.
root=""
mounted=()
mnt() { # mount ARGS... TARGET
    local target=${*: -1}
    mkdir -p "$target"
    mount "$@"
    mounted+=("$target")
}
chroot_up() { # RELEASE
    root=$(mktemp -d "$WORK/zenobar-package-$1.XXXXXX")
    chmod 755 "$root"
    tar -C "$root" -xf "$CACHE/$1.tar"
    chmod 755 "$root"
    mnt -t proc proc "$root/proc"
    mnt -t sysfs -o ro sysfs "$root/sys"
    mnt --bind /dev "$root/dev"
    # Else what is mounted under the chroot's /dev would appear in the host's too.
    mount --make-rslave "$root/dev"
    mnt --bind /dev/pts "$root/dev/pts"
    mnt -t tmpfs -o mode=1777 shm "$root/dev/shm"
    mnt -t tmpfs -o mode=1777 tmp "$root/tmp"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    in_root apt-get update -qq
}
chroot_down() {
    [ -n "$root" ] || return 0
    # Whatever still runs in the chroot holds its mounts; all of it was
    # started by this run.
    local pid i
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null
    done
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
    root=""
    mounted=()
}
trap 'status=$?; set +e; chroot_down; exit $status' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root DEBIAN_FRONTEND=noninteractive "$@"; }
# A user's login shell, without the caller's environment.
as_user() { chroot "$root" /usr/sbin/runuser -l "$1" -c "$2" </dev/null; }

build() { # RELEASE
    local release=$1 out=$OUT/built-on-$1 home
    rm -rf "$out"
    mkdir -p "$out"
    step "$release: build-essential and the Build-Depends"
    in_root useradd --create-home builder
    home=$root/home/builder
    git clone -q --no-local "$repo" "$home/zenobar"
    git -C "$home/zenobar" checkout -q --detach "$sha"
    in_root chown -R builder:builder /home/builder/zenobar
    in_root sh -c 'apt-get install -y -qq build-essential && cd /home/builder/zenobar && apt-get build-dep -y -qq ./' \
        >"$out/build-depends.log" 2>&1 || { tail -n 20 "$out/build-depends.log"; return 1; }
    done_step "$release: build-essential and the Build-Depends"

    step "$release: dpkg-buildpackage -us -uc -b"
    if ! as_user builder "cd zenobar && dpkg-buildpackage -us -uc -b -j$JOBS" >"$out/build.log" 2>&1; then
        tail -n 30 "$out/build.log"
        return 1
    fi
    done_step "$release: dpkg-buildpackage -us -uc -b"
    cp "$home"/zenobar_*.deb "$home"/zenobar_*.changes "$home"/*.buildinfo "$out/"
    # The player's close request, built with this release's compiler and
    # SDL headers; it is plain C and runs on the later release too.
    as_user builder 'gcc -shared -fPIC -O2 $(pkg-config --cflags-only-I sdl) -o quitter.so zenobar/tests/packaging/quitter.c'
    cp "$home/quitter.so" "$out/"

    # After the build, so that it cannot stand in for a missing Build-Depends.
    step "$release: lintian"
    in_root apt-get install -y -qq lintian >/dev/null 2>&1
    as_user builder 'lintian --display-info --pedantic --show-overrides zenobar_*.changes' >"$out/lintian.txt" 2>&1 || true
    done_step "$release: lintian"
    echo "lintian $(in_root dpkg-query -W -f='${Version}' lintian) on the package built on $release:"
    cat "$out/lintian.txt"
    # Debian 13's lintian passes on the validator's warnings as one of its
    # own; it is let through when the validator's are all accepted ones.
    if grep -q '^W: zenobar: appstream-metadata-validation-failed' "$out/lintian.txt"; then
        as_user builder 'rm -rf tree && dpkg-deb -x zenobar_*.deb tree && appstreamcli validate-tree --no-net tree' \
            >"$out/validate-tree.txt" 2>&1 || true
        echo "appstreamcli validate-tree on the package built on $release:"
        cat "$out/validate-tree.txt"
        appstream_accepted "$out/validate-tree.txt" || return 1
        ! grep -E '^[EW]: ' "$out/lintian.txt" | grep -qv '^W: zenobar: appstream-metadata-validation-failed'
    else
        ! grep -qE '^[EW]: ' "$out/lintian.txt"
    fi
}

# True when the validator's output has no warning or error beyond the
# accepted ones.
appstream_accepted() { # FILE
    if grep -E '^ *[EW]: ' "$1" | grep -qvE ": ($APPSTREAM_ACCEPTED)( |\$)"; then
        echo "appstreamcli: a warning or error beyond $APPSTREAM_ACCEPTED"
        return 1
    fi
}

# Plays as PLAYER from their login shell, and checks what the game left in
# their folder: CONFIG and HIGHSCORES, and every link at this installation.
play_as() { # PLAYER CONFIG HIGHSCORES LOG
    local player=$1 folder=$root/home/$1/.local/share/zenobar rel wrong=0
    if ! as_user "$player" 'echo "zenobar is $(command -v zenobar)"; SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy LD_PRELOAD=/var/tmp/zenobar-check/quitter.so timeout 120 zenobar' >"$4" 2>&1; then
        echo "$player: the game failed"; tail -n 20 "$4"; return 1
    fi
    head -n 1 "$4"
    [ "$(head -n 1 "$4")" = "zenobar is /usr/games/zenobar" ] || { echo "$player: not /usr/games/zenobar"; return 1; }
    [ "$(cat "$folder/config")" = "$2" ] || { echo "$player: config is $(cat "$folder/config")"; return 1; }
    [ "$(cat "$folder/highscores")" = "$3" ] || { echo "$player: highscores are $(cat "$folder/highscores")"; return 1; }
    [ "$(in_root stat -c %U "${folder#"$root"}/config" "${folder#"$root"}/highscores" | sort -u)" = "$player" ] ||
        { echo "$player: files not theirs"; return 1; }
    while IFS= read -r rel; do
        [ "$(readlink "$folder/$rel")" = "/usr/share/games/zenobar/$rel" ] || { echo "$player: $rel is $(readlink "$folder/$rel")"; wrong=1; }
    done <"$root/usr/share/games/zenobar/files"
    [ "$(readlink "$folder/Vera.ttf")" = "$VERA" ] || { echo "$player: Vera.ttf is $(readlink "$folder/Vera.ttf")"; wrong=1; }
    [ "$wrong" = 0 ] && echo "$player: config, highscores and $(wc -l <"$root/usr/share/games/zenobar/files") data links in ${folder#"$root"}"
}

play() { # BUILT PLAYED
    local out=$OUT/$1-on-$2 check status=0
    local defaults="NOonE 0 NOonE 0 NOonE 0 NOonE 0 NOonE 0"
    local kept="NOonE 0 NOonE 0 NOonE 0 NOonE 0 Bob 7"
    rm -rf "$out"
    mkdir -p "$out"
    check=$root/var/tmp/zenobar-check
    mkdir -p "$check"
    cp "$OUT/built-on-$1"/zenobar_*.deb "$OUT/built-on-$1/quitter.so" "$check/"
    chmod 755 "$check"
    chmod 644 "$check"/*
    step "$1 package on $2: apt install ./zenobar_*.deb"
    in_root sh -c 'cd /var/tmp/zenobar-check && apt install -y ./zenobar_*.deb' >"$out/install.log" 2>&1 ||
        { tail -n 20 "$out/install.log"; return 1; }
    done_step "$1 package on $2: apt install"
    echo "SDL 1.2 here: $(in_root dpkg-query -W -f='${Package} ${Version}, from the source ${source:Package}' libsdl1.2debian)"

    step "$1 package on $2: two players"
    in_root useradd --create-home ala
    in_root useradd --create-home bob
    # Bob played the version before: every link into /usr/share/zenobar.
    in_root runuser -u bob -- sh -c '
        cd /home/bob && mkdir -p .local/share/zenobar && cd .local/share/zenobar &&
        while IFS= read -r rel; do
            mkdir -p "$(dirname "$rel")" && ln -s "/usr/share/zenobar/$rel" "$rel"
        done </usr/share/games/zenobar/files &&
        ln -s '"$VERA"' Vera.ttf && echo "0 -1" >config &&
        printf "NOonE\n0\nNOonE\n0\nNOonE\n0\nNOonE\n0\nBob\n7\n" >highscores'
    play_as ala "0 0" "$(printf '%s\n' $defaults)" "$out/ala.log" || status=1
    play_as bob "0 -1" "$(printf '%s\n' $kept)" "$out/bob.log" || status=1
    done_step "$1 package on $2: two players"

    # After playing, so that its packages cannot stand in for the game's.
    step "$1 package on $2: appstreamcli validate"
    in_root apt-get install -y -qq appstream >/dev/null 2>&1
    in_root appstreamcli validate --pedantic --no-net "$METAINFO" >"$out/appstream.txt" 2>&1 || true
    done_step "$1 package on $2: appstreamcli validate"
    echo "appstreamcli $(in_root dpkg-query -W -f='${Version}' appstream) validate on $2:"
    cat "$out/appstream.txt"
    appstream_accepted "$out/appstream.txt" || status=1
    return $status
}

for release in $builds; do
    in_chroot "built on $release" "$release" build "$release"
done
for run in $runs; do
    built=${run%%:*} played=${run#*:}
    if [[ $results == *"built on $built: passed"* ]]; then
        in_chroot "built on $built, played on $played" "$played" play "$built" "$played"
    else
        result "built on $built, played on $played" "FAILED (no package)"
    fi
done

echo "== times"
cat "$times"
echo "== results (logs in $OUT)"
printf '%s' "$results"
exit $failed
}
