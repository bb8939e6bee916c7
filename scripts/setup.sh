#!/bin/bash
# Installs what the build and the tests need on a Debian 12 machine:
# the MinGW-w64 cross compilers, Wine (32-bit), Xvfb, and - where the kernel
# runs no 32-bit programs itself - the qemu user-mode emulator for i386,
# registered with binfmt_misc so that 32-bit Wine runs through it.
set -euo pipefail

need=()
for cmd in i686-w64-mingw32-g++-posix wine Xvfb cmake xwd convert chmcmd python3 iconv; do
    command -v "$cmd" >/dev/null 2>&1 || need+=("$cmd")
done
[ -x /usr/lib/wine/wine ] || need+=(wine32)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing packages (missing: ${need[*]})"
    as_root dpkg --add-architecture i386
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        wine wine32:i386 wine64 g++-mingw-w64-i686 mingw-w64-i686-dev xvfb xauth x11-apps \
        imagemagick cmake make fp-utils python3 >/dev/null
fi

# Can this kernel run a 32-bit program? If not, run them through qemu-i386.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    if ! qemu-i386-static --version 2>/dev/null | grep -q 'version \(9\|1[0-9]\)'; then
        # Wine needs qemu 9 or newer (bookworm's 7.2 mishandles its address
        # space reservations); bookworm-backports has it.
        echo "setup: installing qemu-user-static from bookworm-backports"
        echo 'deb http://deb.debian.org/debian bookworm-backports main' |
            as_root tee /etc/apt/sources.list.d/bookworm-backports.list >/dev/null
        as_root apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
            -t bookworm-backports qemu-user-static >/dev/null
    fi
    if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
        as_root mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    fi
    if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
        echo 'setup: registering qemu-i386 for 32-bit programs'
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
            as_root tee /proc/sys/fs/binfmt_misc/register >/dev/null
    fi
    /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "setup: 32-bit programs still cannot run" >&2; exit 1; }
fi
echo "setup: done"
