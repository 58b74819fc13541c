#!/usr/bin/env bash
# CPU time of the editor process while a text field holding a megabyte has the focus: the timer
# wizard's period field and the HUD text wizard's text field, each given 1,000,000 digits by a paste
# and left idle for 10 seconds. Runs the real editor on a virtual X server; prints each as a share of
# one core.
# Usage: bench/field-cpu.sh path/to/tarvane-le
set -euo pipefail
editor=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$editor" "$work/tarvane-le"
head -c 1000000 /dev/zero | tr '\0' 7 > "$work/digits.lua"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -euo pipefail
  cd "$1"
  HOME="$1" XDG_CONFIG_HOME="$1/config" XDG_STATE_HOME="$1/state" ./tarvane-le digits.lua &
  pid=$!
  ticks=$(getconf CLK_TCK)
  cpu() { awk "{ print \$14 + \$15 }" /proc/$pid/stat; }
  wait_for() {
    for _ in $(seq 100); do
      found=$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)
      [ -n "$found" ] && { echo "$found"; return; }
      sleep 0.1
    done
    echo "$1 did not appear" >&2; kill $pid; exit 1
  }
  window=$(wait_for "^Tarvane:LE - digits.lua")
  sleep 1
  # The script is one line of digits: copied whole, it is what the fields get.
  xdotool windowfocus --sync "$window" key ctrl+a key ctrl+c
  sleep 1
  measure() {
    sleep 2
    before=$(cpu); start=$(date +%s.%N)
    sleep 10
    after=$(cpu); end=$(date +%s.%N)
    echo "$1: $(echo "scale=2; 100 * ($after - $before) / $ticks / ($end - $start)" | bc) % of one core"
  }
  xdotool key ctrl+4
  wizard=$(wait_for "^Create timer")
  xdotool windowfocus --sync "$wizard" key ctrl+v
  measure "timer period field with 1,000,000 digits, focused"
  xdotool key Escape
  xdotool windowfocus --sync "$window" key ctrl+2
  wizard=$(wait_for "^Create hudtxt")
  # The text field, at the top of the fields beside the preview.
  xdotool windowfocus --sync "$wizard" mousemove --window "$wizard" 715 30 click 1 key ctrl+v
  measure "HUD text field with 1,000,000 digits, focused"
  kill $pid
  wait $pid || true
' _ "$work"
