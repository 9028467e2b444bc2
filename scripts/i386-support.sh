#!/usr/bin/env bash
# Makes this machine run 32-bit x86 programs (Wine's i386 half, and so the
# 32-bit Orvex.OCX and Orvex_Demo.exe) and prints how: "native", or
# "emulated (QEMU <version>)" where the kernel refuses 32-bit code and QEMU's
# user mode runs it instead, registered with binfmt_misc so that every process
# Wine starts goes through it too. Exits 1, saying exactly what is missing,
# when neither works. Idempotent; run as root.
#   ORVEX_I386=emulate   use QEMU even where the kernel runs 32-bit code itself
#                        (to exercise that path on such a machine)
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/apt-sources.sh"

binfmt=/proc/sys/fs/binfmt_misc
entry=$binfmt/orvex-i386
# QEMU's own binfmt wrapper name: the "-binfmt-P" suffix tells it that the
# kernel preserves the program's argv[0] (flag P).
interpreter=/usr/libexec/qemu-binfmt/i386-binfmt-P
backports_list=/etc/apt/sources.list.d/orvex-backports.sources
# Older QEMU ignores MAP_FIXED_NOREPLACE and Wine fails to map its shared page.
min_qemu=8.1

fail() { echo "i386-support: $*" >&2; exit 1; }
wine32_runs() { /usr/lib/wine/wine --version > /dev/null 2>&1; }
qemu_version() { "$(readlink -f "$interpreter")" --version 2>/dev/null | sed -n '1s/.*version \([0-9.]*\).*/\1/p'; }
version_ok() { [ -n "$1" ] && [ "$(printf '%s\n%s\n' "$min_qemu" "$1" | sort -V | head -n1)" = "$min_qemu" ]; }
registered() { [ -r "$entry" ] && head -n1 "$entry" | grep -qx enabled; }

[ -e /usr/lib/wine/wine ] || fail "Wine's 32-bit half is not installed (package wine32:i386)"

if registered && wine32_runs; then
  echo "emulated (QEMU $(qemu_version))"
  exit 0
fi
if [ "${ORVEX_I386:-}" != emulate ] && ! registered && wine32_runs; then
  echo native
  exit 0
fi

# QEMU 8.1 or newer: Debian 12's own is 7.2, bookworm-backports has 10.x.
if ! version_ok "$(qemu_version)"; then
  changed=$(orvex_apt_entry "$backports_list" deb bookworm-backports) ||
    fail "no apt entry to derive a bookworm-backports entry from; QEMU >= $min_qemu is missing"
  export DEBIAN_FRONTEND=noninteractive
  if [ -n "$changed" ] || ! apt-cache policy qemu-user 2>/dev/null | grep -q bookworm-backports; then
    apt-get update -q > /dev/null 2>&1 || true
  fi
  apt-get install -y -q --no-install-recommends -t bookworm-backports qemu-user > /dev/null 2>&1 ||
    fail "could not install qemu-user from bookworm-backports (is that suite reachable?)"
  version_ok "$(qemu_version)" ||
    fail "$interpreter does not run or is older than $min_qemu (found '$(qemu_version)'): the emulator is missing or damaged"
fi

if [ ! -w "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt" 2> /dev/null ||
    fail "binfmt_misc is not mounted at $binfmt and cannot be mounted"
fi
# i386 ELF executables and shared objects (magic and mask as in QEMU's own
# binfmt script); F: the kernel opens the interpreter now, P: argv[0] is kept.
if [ -e "$entry" ] && ! grep -qx "interpreter $interpreter" "$entry"; then
  echo -1 > "$entry"
fi
if [ ! -e "$entry" ]; then
  printf '%s' ':orvex-i386:M::\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$interpreter"':FP' \
    > "$binfmt/register" 2> /dev/null || fail "binfmt_misc refused the i386 entry"
fi
echo 1 > "$entry"
wine32_runs || fail "32-bit Wine does not start through $interpreter: the emulator is damaged or too old"
echo "emulated (QEMU $(qemu_version))"
