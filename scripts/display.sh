#!/usr/bin/env bash
# A headless X server with two side-by-side monitors, as on a VOD station:
# 0 = (0,0)-(1024,768) primary (the operator's screen), 1 = (1024,0)-(1824,600)
# (the television). Xorg with the dummy driver: one screen, two RandR outputs.
#   display.sh start    start it (or reuse ours), wait until Wine sees both monitors
#   display.sh stop     stop the server we started
#   display.sh status   say whether it runs (exit 0) or not (exit 1)
#   display.sh env      print "export DISPLAY=:N" for eval
#   display.sh layout normal|off|800x600|1024x768...
#                       monitor 1 as start leaves it (and wait until Wine sees
#                       it), switched off, or in that mode right of monitor 0;
#                       several are applied one after the other
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"

dir=$ORVEX_DISPLAY_DIR
state=$ORVEX_DISPLAY_STATE
monitor_exe=$dir/monitor_count-$WINEARCH.exe

die() { echo "display: $*" >&2; exit 1; }
# Progress on stderr with the time since start, for slow CI machines' logs.
t0=$(date +%s%N)
note() { echo "display: [$(( ($(date +%s%N) - t0) / 1000000 )) ms] $*" >&2; }

# wait_for SECONDS COMMAND...: polls until the command succeeds; 1 on timeout.
wait_for() {
  local end=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}

# Ends an Xorg process and waits for it, escalating to SIGKILL.
kill_xorg() {
  local num=$1 pid=$2 i
  if orvex_is_xorg "$pid"; then
    kill "$pid" 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
      orvex_is_xorg "$pid" || break
      sleep 0.1
    done
    if orvex_is_xorg "$pid"; then
      kill -KILL "$pid" 2>/dev/null || true
      while orvex_is_xorg "$pid"; do sleep 0.1; done
    fi
  fi
  # A server that was killed leaves its lock and socket behind.
  if [ "$(tr -d ' ' 2>/dev/null < "/tmp/.X$num-lock")" = "$pid" ]; then
    rm -f "/tmp/.X$num-lock" "/tmp/.X11-unix/X$num"
  fi
}

write_xorg_conf() {
  cat > "$dir/xorg.conf" <<'EOF'
Section "Device"
  Identifier "d0"
  Driver "dummy"
  VideoRam 64000
EndSection
Section "Monitor"
  Identifier "m0"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
EndSection
Section "Screen"
  Identifier "s0"
  Device "d0"
  Monitor "m0"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1024x768"
    Virtual 1824 768
  EndSubSection
EndSection
Section "ServerLayout"
  Identifier "l"
  Screen 0 "s0" 0 0
EndSection
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
EOF
}

two_x_monitors() { [[ "$(xrandr --listmonitors)" == "Monitors: 2"$'\n'* ]]; }

build_monitor_exe() {
  if [ ! -f "$monitor_exe" ] || [ "$ORVEX_ROOT/tools/monitor_count.c" -nt "$monitor_exe" ]; then
    "$ORVEX_MINGW_CC" -O2 -static -o "$monitor_exe" "$ORVEX_ROOT/tools/monitor_count.c" -luser32
  fi
}

# True once Wine reports exactly our two monitors.
wine_sees_layout() {
  local out
  out=$("$ORVEX_WINE" "$monitor_exe" 9>&- | tr -d '\r') || return 1
  grep -q '^monitor 0 (0,0)-(1024,768) ' <<<"$out" &&
    grep -q '^monitor 1 (1024,0)-(1824,600) ' <<<"$out" &&
    grep -qx 'monitors=2' <<<"$out"
}

# Monitor 1 switched off, or in a mode of xorg.conf right of monitor 0.
set_layout() {
  if [ "$1" = off ]; then
    xrandr --output DUMMY1 --off --fb 1024x768
  else
    local w=${1%x*} h=${1#*x}
    # An output refuses a mode it has already; that is no error here.
    xrandr --addmode DUMMY1 "$1" 2>/dev/null || true
    xrandr --fb "$((1024 + w))x$((h > 768 ? h : 768))" \
           --output DUMMY0 --mode 1024x768 --pos 0x0 --primary \
           --output DUMMY1 --mode "$1" --pos 1024x0
  fi
  # A plain query re-probes the outputs; without it Wine sees one monitor.
  xrandr >/dev/null
}

layout() {
  orvex_use_display || die "not running (run: $0 start)"
  [ $# -gt 0 ] || die "usage: $0 layout normal|off|800x600|1024x768..."
  local name
  for name in "$@"; do
    case $name in
      normal)
        set_layout 800x600
        build_monitor_exe
        wait_for 120 wine_sees_layout || die "Wine does not report the two monitors within 120s" ;;
      off | 800x600 | 1024x768) set_layout "$name" ;;
      *) die "unknown layout '$name'" ;;
    esac
  done
}

start() {
  local st num pid

  if st=$(orvex_display_state); then
    num=${st%% *}
    if DISPLAY=:$num wait_for 10 two_x_monitors; then
      echo "DISPLAY=:$num"
      return
    fi
    echo "display: our server on :$num does not answer; replacing it" >&2
    kill_xorg "$num" "${st##* }"
  elif [ -r "$state" ]; then
    # Ours died: clear what it left behind.
    read -r num pid _ < "$state" && kill_xorg "$num" "$pid"
  fi
  rm -f "$state"

  num=46
  while [ -e "/tmp/.X11-unix/X$num" ] || [ -e "/tmp/.X$num-lock" ]; do
    num=$((num + 1))
  done
  write_xorg_conf
  # In its own session, so that a Ctrl-C in the caller's terminal cannot reach it.
  setsid /usr/lib/xorg/Xorg ":$num" -config "$dir/xorg.conf" -noreset -nolisten tcp \
    -logfile "$dir/xorg$num.log" </dev/null >"$dir/xorg$num.out" 2>&1 9>&- &
  pid=$!
  # Until it is fully set up, a failure stops the server again.
  # shellcheck disable=SC2064  # expand now: these are the values to clean up
  trap "kill_xorg $num $pid" EXIT
  export DISPLAY=:$num

  if ! wait_for 60 xdpyinfo; then
    tail -n 20 "$dir/xorg$num.log" >&2 || true
    die "Xorg on :$num did not answer within 60s (log: $dir/xorg$num.log)"
  fi
  # Take the PID from Xorg's own lock file: $! is setsid's if setsid had to fork.
  pid=$(tr -d ' ' < "/tmp/.X$num-lock")
  orvex_is_xorg "$pid" || die "no Xorg process with the PID $pid from /tmp/.X$num-lock"
  # shellcheck disable=SC2064
  trap "kill_xorg $num $pid" EXIT
  note "Xorg (pid $pid) answers on :$num"
  [[ "$(xdpyinfo)" == *GLX* ]] || die "no GLX on :$num (Wine's video renderer needs OpenGL)"

  # Turn on the second output to the right of the first.
  set_layout 800x600
  two_x_monitors || { xrandr --listmonitors >&2; die "xrandr does not list two monitors"; }
  note "two RandR monitors set up"

  # Now Wine must see the same. A running wineserver would keep its old layout.
  # (env -u: a bash started with a locale the host lacks prints a warning.)
  env -u LC_ALL "$here/wine-prefix.sh" 9>&-
  build_monitor_exe
  note "prefix and $(basename "$monitor_exe") ready"
  wineserver -k 9>&- 2>/dev/null || true
  if ! wait_for 120 wine_sees_layout; then
    "$ORVEX_WINE" "$monitor_exe" >&2 9>&- || true
    die "Wine does not report the two monitors within 120s"
  fi
  note "Wine reports both monitors"

  echo "$num $pid" > "$state"
  trap - EXIT
  echo "DISPLAY=:$num"
}

stop() {
  local st
  if st=$(orvex_display_state); then
    kill_xorg "${st%% *}" "${st##* }"
    echo "display: stopped :${st%% *}"
  fi
  rm -f "$state"
}

status() {
  local st
  if st=$(orvex_display_state); then
    echo "running DISPLAY=:${st%% *} pid=${st##* }"
  else
    echo "not running"
    return 1
  fi
}

env_cmd() {
  local st
  st=$(orvex_display_state) || die "not running (run: $0 start)"
  echo "export DISPLAY=:${st%% *}"
}

mkdir -p "$dir"
case "${1:-}" in
  start)
    # One "start" at a time; no child may inherit this lock (hence "9>&-" above).
    exec 9>"$dir/lock"
    flock -w 300 9 || die "timed out waiting for $dir/lock"
    start ;;
  stop) stop ;;
  status) status ;;
  env) env_cmd ;;
  layout) shift; layout "$@" ;;
  *) echo "usage: $0 start|stop|status|env|layout" >&2; exit 2 ;;
esac
