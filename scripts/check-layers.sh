#!/usr/bin/env bash
# Fails when a source folder includes a header of a folder it may not see, so that every include points
# down a floor. From the bottom: resources, event, draw, gui; highlight sees resources only; settings
# and tools see gui and everything below it, and highlight; lua (the Lua compiler) sees resources only;
# app sees all. Lua's own headers stay inside lua/.
# Usage: scripts/check-layers.sh [source-root]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

declare -A sees=(
  [resources]="resources"
  [event]="resources event"
  [draw]="resources event draw"
  [gui]="resources event draw gui"
  [highlight]="resources highlight"
  [settings]="resources event draw gui highlight settings"
  [tools]="resources event draw gui highlight tools"
  [lua]="resources lua"
  [app]="resources event draw gui highlight settings tools lua app"
)

bad=0
for folder in "${!sees[@]}"; do
  [ -d "$root/$folder" ] || continue
  while IFS=: read -r file line target; do
    layer=${target%%/*}
    [ -n "${sees[$layer]+known}" ] || continue # a header of no layer (a system or Qt header)
    if [[ " ${sees[$folder]} " != *" $layer "* ]]; then
      echo "$file:$line: $folder/ may not include $target" >&2
      bad=1
    fi
  done < <(cd "$root" && grep -rnoE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$folder" \
             | sed -E 's/#[[:space:]]*include[[:space:]]*"([^"]+)"/\1/; s/:[[:space:]]*/:/2')
done

# Only the widget layer may use Qt's widgets and graphics; draw/ and event/ use no Qt at all.
while IFS= read -r hit; do
  echo "$hit: only gui/ may include QtWidgets or QtGui" >&2
  bad=1
done < <(cd "$root" && grep -rnE --include='*.h' --include='*.cpp' '#[[:space:]]*include[[:space:]]*<Qt(Widgets|Gui)/|#[[:space:]]*include[[:space:]]*<Q(Widget|Application|Painter|Image|Pixmap|Font|Color|KeyEvent|Window)\b' \
           resources event draw highlight settings tools lua app 2>/dev/null || true)
while IFS= read -r hit; do
  echo "$hit: draw/ and event/ are plain C++ without Qt" >&2
  bad=1
done < <(cd "$root" && grep -rnE --include='*.h' --include='*.cpp' '#[[:space:]]*include[[:space:]]*<Q' draw event 2>/dev/null || true)

while IFS= read -r hit; do
  echo "$hit: only lua/ may include Lua's headers" >&2
  bad=1
done < <(cd "$root" && grep -rnE --include='*.h' --include='*.cpp' '#[[:space:]]*include[[:space:]]*<(lua|lauxlib|lualib|luaconf)\.h(pp)?>' \
           resources event draw gui highlight settings tools app tests bench 2>/dev/null || true)

if [ "$bad" -ne 0 ]; then
  echo "Layer check failed: an include points up a floor." >&2
  exit 1
fi
echo "Layer check passed: every include points down."
