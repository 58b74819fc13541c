#!/usr/bin/env bash
# Takes the README's screenshot: the real editor on a virtual X server, a coloured script loaded and the
# hook wizard open on it with a hook picked and a handler asked for; then the HUD text wizard with a
# coloured text placed on its preview; then a script with a mistake, underlined by the live check, with
# the Problems window beside it; then completion open on a hook name, beside the colour swatches.
# Usage: scripts/screenshot.sh path/to/tarvane-le main-window.png hud-wizard.png live-check.png completion.png
set -euo pipefail
editor=$(realpath "$1")
output=$(realpath -m "$2")
hudOutput=$(realpath -m "$3")
checkOutput=$(realpath -m "$4")
completionOutput=$(realpath -m "$5")
here=$(cd "$(dirname "$0")" && pwd)
"$here/install-deps.sh" x11-apps netpbm

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$editor" "$work/tarvane-le"
cp "$here/../docs/sample.lua" "$work/greeting.lua"
cp "$here/../docs/problem.lua" "$work/kills.lua"
mkdir -p "$(dirname "$output")" "$(dirname "$hudOutput")" "$(dirname "$checkOutput")" "$(dirname "$completionOutput")"

# Recovery copies and settings of their own: the typing below leaves unsaved work behind when the
# editor is ended, which the next start would otherwise offer back, here and in the user's own editor.
export XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  cd "$1"
  # Starts the editor on a script and waits for its window, whose title starts with $2: sets pid and window.
  start() {
    ./tarvane-le "$1" &
    pid=$!
    window=
    for _ in $(seq 100); do
      window=$(xdotool search --name "^$2" 2>/dev/null | head -n 1 || true)
      [ -n "$window" ] && break
      sleep 0.1
    done
    [ -n "$window" ] || { echo "the editor window did not appear" >&2; kill $pid; exit 1; }
    sleep 1
  }
  start greeting.lua "Tarvane:LE"
  xdotool windowfocus --sync "$window"
  xdotool key ctrl+6
  sleep 1
  # Player, opened, then down to its hook "join", picked with Enter.
  xdotool key Down Down Right
  for _ in $(seq 19); do xdotool key Down; done
  xdotool key Return Tab space Tab
  xdotool type onJoin
  sleep 2
  # Without a compositor the root window does not hold the wizard: each window is taken on its own and
  # the wizard pasted where it stands over the main window.
  wizard=$(xdotool search --name "^Add hook" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  mainX=$X mainY=$Y
  eval "$(xdotool getwindowgeometry --shell "$wizard")"
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null > main.pnm
  xwd -silent -id "$wizard" | xwdtopnm 2>/dev/null | pnmmargin -color "#808080" 1 > wizard.pnm
  pnmpaste wizard.pnm $((X - mainX - 1)) $((Y - mainY - 1)) main.pnm | pnmtopng > "$2"
  # The HUD wizard: a text in two colours typed into its text field, then placed by a click on the
  # preview; the wizard alone is taken.
  xdotool key Escape
  xdotool windowfocus --sync "$window"
  xdotool key ctrl+2
  sleep 1
  hud=$(xdotool search --name "^Create hudtxt" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$hud")"
  xdotool mousemove $((X + 700)) $((Y + 30)) click 1
  xdotool key ctrl+a
  # The colour sign goes by its key name: xdotool types only what the keyboard map holds.
  for part in 255220000 "Welcome to " 080200255 "Tarvane" 255255255 "!"; do
    case $part in
      [0-9]*) xdotool key copyright ;;
    esac
    xdotool type --delay 20 "$part"
  done
  xdotool mousemove $((X + 150)) $((Y + 120)) click 1
  sleep 1
  xwd -silent -id "$hud" | xwdtopnm 2>/dev/null | pnmtopng > "$3"
  kill $pid
  # The live check: a script with a misspelled hook name, checked a moment after it loads, and the
  # Problems window moved below the line it names.
  start kills.lua "Tarvane:LE - kills"
  xdotool windowfocus --sync "$window"
  xdotool key ctrl+shift+p
  sleep 1
  problems=$(xdotool search --name "^Problems" | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  mainX=$X mainY=$Y
  xdotool windowmove "$problems" $((mainX + 170)) $((mainY + 320))
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$problems")"
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null > main.pnm
  xwd -silent -id "$problems" | xwdtopnm 2>/dev/null | pnmmargin -color "#808080" 1 > problems.pnm
  pnmpaste problems.pnm $((X - mainX - 1)) $((Y - mainY - 1)) main.pnm | pnmtopng > "$4"
  kill $pid
  # Completion: a new line at the end of the greeting, a hook name begun in addhook, and Ctrl+Space.
  start greeting.lua "Tarvane:LE - greeting"
  xdotool windowfocus --sync "$window"
  xdotool key ctrl+End Return Return
  xdotool type --delay 30 "addhook(\"s"
  xdotool key ctrl+space
  sleep 1
  xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng > "$5"
  kill $pid
' _ "$work" "$output" "$hudOutput" "$checkOutput" "$completionOutput"
echo "wrote $output, $hudOutput, $checkOutput and $completionOutput"
