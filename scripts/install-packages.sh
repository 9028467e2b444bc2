#!/usr/bin/env bash
# Installs every Debian package the build, the demo and the tests need, and the
# deb-src entry that lets the build fetch the libjpeg-turbo source package.
# Idempotent; run as root on Debian 12. Does nothing when all is already there.
set -euo pipefail

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
  git ca-certificates procps unzip
)

src_list=/etc/apt/sources.list.d/orvex-deb-src.sources
need_update=0

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

if [ ! -f "$src_list" ]; then
  cat > "$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ] && [ "$need_update" -eq 0 ]; then
  echo "install-packages: everything is installed"
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-packages: installing ${missing[*]}"
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
