# shellcheck shell=bash disable=SC2034  # the variables are for the scripts that source this
# Common environment for running Orvex's Windows programs under Wine.
# Sourced (bash) by the other scripts; sets no shell options of its own.

ORVEX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export ORVEX_ROOT

# Orvex is a 32-bit control: a private 32-bit prefix in the build tree, unless
# the caller chose one. ORVEX_WINEARCH=win64 selects a 64-bit prefix and loader
# instead, for hosts that cannot execute 32-bit x86 code at all (there even
# Wine's WoW64 mode fails).
if [ "${ORVEX_WINEARCH:-win32}" = win64 ]; then
  export WINEARCH=win64
  export WINEPREFIX="${WINEPREFIX:-$ORVEX_ROOT/build/wineprefix64}"
  # Debian's /usr/bin/wine always prefers the 32-bit loader when it is installed.
  ORVEX_WINE=/usr/lib/wine/wine64
  ORVEX_MINGW_CC=x86_64-w64-mingw32-gcc
else
  export WINEARCH=win32
  export WINEPREFIX="${WINEPREFIX:-$ORVEX_ROOT/build/wineprefix}"
  ORVEX_WINE=wine
  ORVEX_MINGW_CC=i686-w64-mingw32-gcc
fi
export WINEDEBUG="${WINEDEBUG:--all}"
# Wine takes the ANSI code page from the locale variables: zh_CN.UTF-8 gives
# GetACP() == 936, as on the stations the control runs on. install-packages.sh
# generates the locale, so Linux file names reach Wine as UTF-8.
export LC_ALL=zh_CN.UTF-8
# Never offer to download Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Written by wine-prefix.sh once the prefix holds all our settings; it holds
# the settings' version, so a prefix made with older settings gets the new ones.
ORVEX_PREFIX_MARKER="$WINEPREFIX/.orvex-prefix-configured"
ORVEX_PREFIX_VERSION=2

# True when the prefix holds the current settings.
orvex_prefix_ready() {
  [ "$(cat "$ORVEX_PREFIX_MARKER" 2>/dev/null)" = "$ORVEX_PREFIX_VERSION" ]
}

# State of the X server started by display.sh: one line "<display number> <Xorg pid>".
# A checkout of its own may keep its own server: set ORVEX_DISPLAY_DIR to another folder.
ORVEX_DISPLAY_DIR=${ORVEX_DISPLAY_DIR:-/tmp/orvex-display}
ORVEX_DISPLAY_STATE=$ORVEX_DISPLAY_DIR/state

# True if the PID is a live Xorg process (not a zombie awaiting its reaper).
orvex_is_xorg() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  [[ "$stat" == "$1 (Xorg) "[!ZX]* ]]
}

# Prints "<display number> <pid>" of our X server if the state file names a
# live Xorg process; returns 1 otherwise (no file, stale or recycled PID).
orvex_display_state() {
  local num pid
  [ -r "$ORVEX_DISPLAY_STATE" ] || return 1
  read -r num pid _ < "$ORVEX_DISPLAY_STATE" || return 1
  [[ "$num" =~ ^[0-9]+$ && "$pid" =~ ^[0-9]+$ ]] || return 1
  orvex_is_xorg "$pid" || return 1
  echo "$num $pid"
}

# Exports DISPLAY from our X server when the caller has none.
# Returns 1 if DISPLAY stays unset.
orvex_use_display() {
  local st
  [ -n "${DISPLAY:-}" ] && return 0
  st=$(orvex_display_state) || return 1
  export DISPLAY=":${st%% *}"
}
