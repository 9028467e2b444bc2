#!/usr/bin/env bash
# Prints the Wine architecture the Windows-side programs run under here:
# "win32" when this kernel executes 32-bit x86 code (the deliverables' own
# architecture), else "win64" (the 64-bit build of the same sources).
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version > /dev/null 2>&1; then
  echo win32
else
  echo win64
fi
