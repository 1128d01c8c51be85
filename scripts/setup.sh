#!/bin/sh
# Installs the Debian packages that playing (play) or also testing (test)
# needs and the machine lacks, as root or through sudo. The list is in
# scripts/packages.
# Usage: scripts/setup.sh play|test
set -eu
cd "$(dirname "$0")/.."

case ${1:-} in
    play) sets=" play " ;;
    test) sets=" play test " ;;
    *) echo "usage: $0 play|test" >&2; exit 2 ;;
esac

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# What the list wants and none of whose alternatives is installed.
wanted=""
while read -r set entry rest; do
    case $set in ''|'#'*) continue ;; esac
    case $sets in *" $set "*) ;; *) continue ;; esac
    found=no
    for p in $(echo "${entry%\?}" | tr '|' ' '); do
        if installed "$p"; then found=yes; break; fi
    done
    [ $found = yes ] || wanted="$wanted $entry"
done < scripts/packages
[ -n "$wanted" ] || exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "Missing packages:$wanted" >&2
        echo "Run this as root, or install sudo, to install them." >&2
        exit 1
    fi
    SUDO=sudo
fi
echo "Updating the package lists"
$SUDO apt-get update -qq

# The first alternative this release has; apt-cache shows no candidate for a
# name that is missing or only provided by another package.
missing=""
for entry in $wanted; do
    pick=""
    for p in $(echo "${entry%\?}" | tr '|' ' '); do
        if apt-cache policy "$p" 2>/dev/null | grep -q 'Candidate: [^(]'; then pick=$p; break; fi
    done
    if [ -n "$pick" ]; then
        missing="$missing $pick"
    elif [ "${entry%\?}" = "$entry" ]; then
        echo "This release has no package $entry" >&2
        exit 1
    fi
done
[ -n "$missing" ] || exit 0
echo "Installing:$missing"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
