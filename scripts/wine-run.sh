#!/usr/bin/env bash
# Runs a Windows program under Wine in Orvex's prefix: "wine-run.sh prog.exe args...".
# CTest uses it as the cross-compiling emulator. wine exits with the program's
# exit code: 0-255 unchanged, larger ones cut to their low byte (1 if that is
# 0, so a failure stays a failure); a crash gives the exception code's low
# byte (5 for an access violation). If DISPLAY is unset, the X server from
# display.sh is used when it runs; console programs need none.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
source "$here/wine-env.sh"
orvex_use_display || true
# A prefix without our settings would, for one, hang on a crash: make sure it
# is set up. Its messages go to stderr so the program's stdout stays clean.
orvex_prefix_ready || env -u LC_ALL "$here/wine-prefix.sh" >&2
exec "$ORVEX_WINE" "$@"
