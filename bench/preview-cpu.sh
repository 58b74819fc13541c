#!/usr/bin/env bash
# CPU time of the editor process with the HUD text wizard shown: 10 seconds idle, then 10 seconds with
# the left button held and the pointer moved over the preview 60 times a second. Runs the real editor
# on a virtual X server; prints each as a share of one core.
# Usage: bench/preview-cpu.sh path/to/tarvane-le
set -euo pipefail
editor=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$editor" "$work/tarvane-le"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -euo pipefail
  cd "$1"
  ./tarvane-le &
  pid=$!
  ticks=$(getconf CLK_TCK)
  cpu() { awk "{ print \$14 + \$15 }" /proc/$pid/stat; }
  for _ in $(seq 100); do
    window=$(xdotool search --name "^Tarvane:LE" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the editor window did not appear" >&2; kill $pid; exit 1; }
  sleep 1
  xdotool windowfocus --sync "$window" key ctrl+2
  for _ in $(seq 50); do
    wizard=$(xdotool search --name "^Create hudtxt" 2>/dev/null | head -n 1 || true)
    [ -n "$wizard" ] && break
    sleep 0.1
  done
  [ -n "$wizard" ] || { echo "the HUD text wizard did not appear" >&2; kill $pid; exit 1; }
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$wizard")"

  before=$(cpu); start=$(date +%s.%N)
  sleep 10
  after=$(cpu); end=$(date +%s.%N)
  echo "wizard shown, idle: $(echo "scale=2; 100 * ($after - $before) / $ticks / ($end - $start)" | bc) % of one core"

  # One xdotool run holds the button and moves the pointer round a circle, a move every 1/60 second.
  moves=()
  for i in $(seq 0 599); do
    moves+=(mousemove $((X + 320 + (i % 120) * 2 - 120)) $((Y + 240 + ((i / 120) % 5) * 30)) sleep 0.0167)
  done
  xdotool mousemove $((X + 200)) $((Y + 240)) mousedown 1
  before=$(cpu); start=$(date +%s.%N)
  xdotool "${moves[@]}"
  after=$(cpu); end=$(date +%s.%N)
  xdotool mouseup 1
  echo "dragging at 60 moves a second: $(echo "scale=2; 100 * ($after - $before) / $ticks / ($end - $start)" | bc) % of one core over $(echo "scale=1; ($end - $start) / 1" | bc) s"
  kill $pid
' _ "$work"
