#!/usr/bin/env bash
# Takes the README's screenshot: the real editor's main window on a virtual X server.
# Usage: scripts/screenshot.sh path/to/tarvane-le output.png
set -euo pipefail
editor=$(realpath "$1")
output=$(realpath -m "$2")
here=$(dirname "$0")
"$here/install-deps.sh" x11-apps netpbm

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$editor" "$work/tarvane-le"
mkdir -p "$(dirname "$output")"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  "$1/tarvane-le" &
  pid=$!
  for _ in $(seq 100); do
    window=$(xdotool search --name "^Tarvane:LE" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "the editor window did not appear" >&2; kill $pid; exit 1; }
  sleep 1
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng > "$2"
  kill $pid
' _ "$work" "$output"
echo "wrote $output"
