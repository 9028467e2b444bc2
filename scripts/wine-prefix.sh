#!/usr/bin/env bash
# Creates Orvex's private Wine prefix ($WINEPREFIX, see wine-env.sh) and
# puts our settings in its registry. Idempotent: once the prefix's marker file
# names the current settings' version this returns at once. Needs no X display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

orvex_prefix_ready && exit 0

# Serialise concurrent callers (parallel tests via wine-run.sh). Wine and the
# wineserver it starts must not inherit the lock descriptor, hence "9>&-".
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"${WINEPREFIX%/}.lock"
flock -w 300 9 || { echo "wine-prefix: timed out waiting for ${WINEPREFIX%/}.lock" >&2; exit 1; }
orvex_prefix_ready && exit 0

echo "wine-prefix: setting up $WINEPREFIX ($WINEARCH)" >&2
# Say plainly when Wine cannot start at all, e.g. on a kernel without 32-bit
# support ("Exec format error" from the 32-bit loader).
if ! out=$("$ORVEX_WINE" --version 2>&1 9>&-); then
  echo "wine-prefix: $ORVEX_WINE does not start: $out" >&2
  [[ "$WINEARCH" != win32 || "$out" != *"Exec format error"* ]] ||
    echo "wine-prefix: this host cannot run 32-bit x86 programs; ORVEX_WINEARCH=win64 uses 64-bit Wine" >&2
  exit 1
fi
# Creates the prefix, or finishes one left half-made by an interrupted run.
"$ORVEX_WINE" wineboot -i 9>&-
wineserver -w 9>&-

# Our settings, imported from a UTF-16 .reg file. ("reg add" would take the
# Chinese value name through the command line, which Wine decodes with the host
# locale's charset: ASCII when zh_CN.UTF-8 is not installed.)
# - No window manager on our X server: unmanaged windows, or hiding one stalls ~2 s.
# - A crashing program must exit at once rather than wait for a debugger: start
#   the "debugger" automatically, and make it a command that does not exist.
# - Chinese UI fonts map to the CJK font from fonts-wqy-zenhei.
# - Direct3D draws through GDI: the MCI video renderer then puts the decoded
#   frames into its window on the screen, where a screenshot sees them (with
#   the default GL renderer they go to an offscreen surface and the screen
#   keeps showing whatever lay under the window).
iconv -f UTF-8 -t UTF-16 > "$WINEPREFIX/orvex-settings.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="1"
"Debugger"="orvex-no-debugger.exe %ld %ld"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"宋体"="WenQuanYi Zen Hei"
"SimSun"="WenQuanYi Zen Hei"

[HKEY_CURRENT_USER\Software\Wine\Direct3D]
"renderer"="gdi"
REG
(cd "$WINEPREFIX" && "$ORVEX_WINE" reg import orvex-settings.reg 9>&-)
# The registry reaches disk when the wineserver exits.
wineserver -w 9>&-

echo "$ORVEX_PREFIX_VERSION" > "$ORVEX_PREFIX_MARKER"
echo "wine-prefix: ready" >&2
