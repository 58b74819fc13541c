#!/usr/bin/env bash
# The layer check passes on the real tree and fails on each kind of upward include in a small made-up
# tree, naming the offending line.
set -u
script=$1
source_root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() { # expect <pass|fail> <description> <tree> [text the report must contain]
  local want=$1 what=$2 tree=$3 needle=${4:-}
  local output status
  output=$("$script" "$tree" 2>&1)
  status=$?
  if [ "$want" = pass ] && [ $status -ne 0 ]; then
    echo "FAIL: $what: the check failed:"; echo "$output"; failures=$((failures + 1))
  elif [ "$want" = fail ] && [ $status -eq 0 ]; then
    echo "FAIL: $what: the check passed"; failures=$((failures + 1))
  elif [ -n "$needle" ] && [[ "$output" != *"$needle"* ]]; then
    echo "FAIL: $what: the report does not name '$needle':"; echo "$output"; failures=$((failures + 1))
  else
    echo "ok: $what"
  fi
}

# tree <name> <file> <line>...: a tree of clean files with one file holding the given lines.
tree() {
  local root=$work/$1 file=$2
  shift 2
  mkdir -p "$root"/{resources,event,draw,gui,highlight,settings,tools,app}
  echo '#include "resources/Stream.h"' > "$root/event/Event.cpp"
  printf '#include "gui/Gadget.h"\n#include "highlight/Lexer.h"\n#include <QString>\n' > "$root/tools/Tool.cpp"
  printf '#include "settings/WSettings.h"\n#include "tools/Tool.h"\n' > "$root/app/App.cpp"
  mkdir -p "$(dirname "$root/$file")"
  printf '%s\n' "$@" > "$root/$file"
  echo "$root"
}

expect pass "the project's own tree" "$source_root"
expect pass "a clean made-up tree" "$(tree clean gui/View.cpp '#include "draw/Image.h"' '#include <QWidget>')"
expect fail "draw including the widget layer" "$(tree up1 draw/Input.h '#include "gui/Event.h"')" 'draw/Input.h:1'
expect fail "highlight including the widget layer" "$(tree up2 highlight/Colour.cpp '#  include "gui/Gadget.h"')" 'highlight/Colour.cpp:1'
expect fail "tools including the application" "$(tree up3 tools/Wizard.cpp '#include <QString>' '#include "app/Application.h"')" 'tools/Wizard.cpp:2'
expect fail "settings including a tool" "$(tree up4 settings/Store.cpp '#include "tools/Tool.h"')" 'settings/Store.cpp:1'
expect fail "event including the drawing layer" "$(tree up5 event/Queue.cpp '#include "draw/Image.h"')" 'event/Queue.cpp:1'
expect fail "Qt Widgets outside the widget layer" "$(tree qt1 app/Main.cpp '#include <QWidget>')" 'app/Main.cpp:1'
expect fail "Qt at all in the drawing layer" "$(tree qt2 draw/Font.cpp '#include <QString>')" 'draw/Font.cpp:1'

[ $failures -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }
