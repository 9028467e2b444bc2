#!/usr/bin/env bash
# Installs every Debian package the build, the demo and the tests need, the
# deb-src entry that lets the build fetch the libjpeg-turbo source package, and
# the zh_CN.UTF-8 locale Wine's programs run under (code page 936).
# Idempotent; run as root on Debian 12. Does nothing when all is already there.
# 32-bit programs on kernels that refuse them: scripts/i386-support.sh.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/apt-sources.sh"

packages=(
  wine wine32:i386 wine64
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils x11-utils
  imagemagick ffmpeg fonts-wqy-zenhei
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  gstreamer1.0-plugins-bad:i386 gstreamer1.0-libav:i386
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-plugins-bad gstreamer1.0-libav
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  cmake make g++ libgtest-dev googletest
  clang libclang-rt-14-dev
  git ca-certificates procps locales unzip zip python3 libarchive-tools
  chromium
)

src_list=/etc/apt/sources.list.d/orvex-deb-src.sources
need_update=0

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

if [ -n "$(orvex_apt_entry "$src_list" deb-src bookworm)" ]; then
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ] || [ "$need_update" -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails one index now and serves it a moment later:
  # try again. If one index stays missing (say the i386 half of the security
  # suite), the two architectures would be offered different versions of the
  # same library, which multiarch refuses: then install from the release's own
  # suite, whose indexes agree.
  target=()
  for attempt in 1 2 3 0; do
    if [ "$attempt" = 0 ]; then
      echo "install-packages: an index stays unavailable; installing from bookworm alone" >&2
      target=(-t bookworm)
      break
    fi
    apt-get -o DPkg::Lock::Timeout=900 update -q && break
    echo "install-packages: apt-get update failed (attempt $attempt of 3)" >&2
    sleep $((attempt * 5))
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    echo "install-packages: installing ${missing[*]}"
    apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${target[@]}" \
      "${missing[@]}"
  fi
fi

if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen > /dev/null
fi
echo "install-packages: everything is installed"
