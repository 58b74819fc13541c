// A generated Lua script of the size the editor must handle, the same on every run.
#pragma once

#include <QString>

// About `lines` lines of game script (hooks, handlers, loops, tables, strings and comments) and at
// least `characters` UTF-16 units, joined with "\n".
QString GenerateLuaScript(int lines, int characters);
