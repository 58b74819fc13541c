#include "lua/LuaLinter.h"

#include "lua/LuaMemory.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

namespace {
// Loaded once per state; returns the function that lints a script's parts. The options are the editor's
// default for game scripts: whitespace (6xx) is the author's business, a handler need not use every
// argument the game passes (212), and scripts set globals freely (111, 112, 131): the editor names the
// globals it found defined, so that only reading one that is defined nowhere is reported.
//
// luacheck links every closure of a chunk with every later statement that may use what the closure
// sets or reads outside itself. Its walk is made for each closure, even one that touches nothing
// outside itself; in a script of thousands of top-level handlers that is most of the time of a check
// and grows with the square of the script. The walk of such a closure finds nothing, so it is left
// out: the rest of the stage is luacheck's own, reached through its upvalues; when they are not there
// (another luacheck), its stage runs unchanged. Stages that find only what the editor leaves out are not
// run at all.
constexpr const char* Prelude = R"lua(
local luacheck = require "luacheck"

local function upvalue(f, wanted)
   local i = 1
   while f do
      local name, value = debug.getupvalue(f, i)
      if not name then return nil end
      if name == wanted then return value end
      i = i + 1
   end
end

-- Stages whose every warning the editor leaves out.
local stages = require "luacheck.stages"
local unused = {detect_bad_whitespace = true, detect_cyclomatic_complexity = true}
for i = #stages.names, 1, -1 do
   if unused[stages.names[i]] then
      table.remove(stages.modules, i)
   end
end

local resolve = require "luacheck.stages.resolve_locals"
local analyze_line = upvalue(resolve.run, "analyze_line")
local propagate_assignments = upvalue(analyze_line, "propagate_main_assignments")
local propagate_closures = upvalue(analyze_line, "propagate_closure_creations")
local closure_callback = upvalue(propagate_closures, "closure_creation_propagation_callback")
if propagate_assignments and closure_callback then
   resolve.run = function(chstate)
      for _, line in ipairs(chstate.lines) do
         propagate_assignments(line)
         for i, item in ipairs(line.items) do
            if item.lines then
               for _, created in ipairs(item.lines) do
                  if next(created.accessed_upvalues) or next(created.mutated_upvalues)
                        or next(created.set_upvalues) then
                     line:walk({}, i, closure_callback, created)
                  end
               end
            end
         end
      end
   end
end

-- What the linter said of each part the editor checks alone, by the part's text: a check lints only the
-- parts it has not seen, and keeps only what it said of the parts of the script it was given. A global
-- the script defines is left out afterwards, so that what is said of a part depends on nothing else.
local options = {std = "lua51", ignore = {"6", "212", "111", "112", "131"}}
local said, said_for = {}, nil

return function(units, read_globals, read_globals_key, globals)
   if read_globals_key ~= said_for then
      said, said_for = {}, read_globals_key
   end
   options.read_globals = read_globals
   local missing, seen = {}, {}
   for _, unit in ipairs(units) do
      local source = unit[1]
      if not said[source] and not seen[source] then
         seen[source] = true
         missing[#missing + 1] = source
      end
   end
   if #missing > 0 then
      local report = luacheck.check_strings(missing, options)
      for i, source in ipairs(missing) do
         local entry = {}
         for _, issue in ipairs(report[i]) do
            -- A message that names a line is made when the line is known.
            local names_lines = issue.prev_line or issue.overwritten_line
            entry[#entry + 1] = {issue, not names_lines and luacheck.get_message(issue)}
         end
         said[source] = entry
      end
   end
   local defined = {}
   for _, name in ipairs(globals) do
      defined[name] = true
   end
   local kept, issues = {}, {}
   for _, unit in ipairs(units) do
      local source, offset, map = unit[1], unit[2], unit[3]
      local entry = said[source]
      kept[source] = entry
      for _, said_issue in ipairs(entry) do
         local issue, message = said_issue[1], said_issue[2]
         if not (issue.code == "113" and defined[issue.name]) then
            local line = map and (map[issue.line] or issue.line) or issue.line + offset
            if not message then
               local moved = {}
               for key, value in pairs(issue) do
                  moved[key] = value
               end
               for _, key in ipairs({"prev_line", "overwritten_line"}) do
                  if moved[key] then
                     moved[key] = map and (map[moved[key]] or moved[key]) or moved[key] + offset
                  end
               end
               message = luacheck.get_message(moved)
            end
            issues[#issues + 1] = {issue.code, line, issue.column, issue.end_column or issue.column, message}
         end
      end
   end
   said = kept
   return issues
end
)lua";

constexpr const char* CancelMark = "tle: check cancelled";

// The cancel flag of the check running in a state, kept in its registry.
const char CancelKey = 0;

// Lets another thread stop a check: every few thousand instructions it looks at the flag.
void CancelHook(lua_State* lua, lua_Debug*)
{
    lua_pushlightuserdata(lua, const_cast<char*>(&CancelKey));
    lua_rawget(lua, LUA_REGISTRYINDEX);
    const auto* cancel = static_cast<const std::atomic<bool>*>(lua_touserdata(lua, -1));
    lua_pop(lua, 1);
    if (cancel && cancel->load(std::memory_order_relaxed))
        luaL_error(lua, CancelMark);
}

void PushStrings(lua_State* lua, const QStringList& strings)
{
    lua_createtable(lua, int(strings.size()), 0);
    int i = 0;
    for (const QString& s : strings) {
        const QByteArray bytes = s.toUtf8();
        lua_pushlstring(lua, bytes.constData(), std::size_t(bytes.size()));
        lua_rawseti(lua, -2, ++i);
    }
}

// The parts as the linter's function takes them: {text, offset} for a part of one segment, whose line n
// is line n + offset of the script, and {text, 0, lines} for one of several, whose line n is lines[n].
void PushUnits(lua_State* lua, const QByteArray& bytes, std::vector<TLinterUnit> units)
{
    const int size = int(bytes.size());
    for (TLinterUnit& unit : units) {
        for (TLinterSegment& segment : unit.segments) {
            segment.start = std::clamp(segment.start, 0, size);
            segment.end = std::clamp(segment.end, segment.start, size);
        }
    }
    lua_createtable(lua, int(units.size()), 0);
    int index = 0;
    for (const TLinterUnit& unit : units) {
        lua_createtable(lua, 3, 0);
        QByteArray source;
        for (const TLinterSegment& segment : unit.segments)
            source.append(bytes.constData() + segment.start, segment.end - segment.start);
        lua_pushlstring(lua, source.constData(), std::size_t(source.size()));
        lua_rawseti(lua, -2, 1);
        lua_pushinteger(lua, unit.segments.size() == 1 ? unit.segments[0].line : 0);
        lua_rawseti(lua, -2, 2);
        if (unit.segments.size() > 1) {
            lua_newtable(lua);
            int line = 0;
            for (const TLinterSegment& segment : unit.segments) {
                const int breaks = int(std::count(bytes.begin() + segment.start, bytes.begin() + segment.end, '\n'));
                const bool open = segment.end > segment.start && bytes[segment.end - 1] != '\n';
                for (int i = 0; i < breaks + (open ? 1 : 0); ++i) {
                    lua_pushinteger(lua, segment.line + 1 + i);
                    lua_rawseti(lua, -2, ++line);
                }
            }
            lua_rawseti(lua, -2, 3);
        }
        lua_rawseti(lua, -2, ++index);
    }
}

std::size_t HashOf(const QByteArray& bytes, const TLinterUnit& unit)
{
    std::size_t hash = 0;
    for (const TLinterSegment& segment : unit.segments)
        hash = qHashMulti(hash, QByteArrayView(bytes).sliced(segment.start, segment.end - segment.start));
    return hash;
}

// Fields of the table on top of the stack.
QString StringAt(lua_State* lua, int index)
{
    lua_rawgeti(lua, -1, index);
    const char* text = lua_tostring(lua, -1);
    QString value = text ? QString::fromUtf8(text) : QString();
    lua_pop(lua, 1);
    return value;
}

int IntegerAt(lua_State* lua, int index)
{
    lua_rawgeti(lua, -1, index);
    const int value = int(lua_tointeger(lua, -1));
    lua_pop(lua, 1);
    return value;
}

QString NotInstalled()
{
    return QStringLiteral("The Lua linter (Debian package lua-check) is not installed: no linter warnings.");
}
} // namespace

struct TLuaLinter::TState {
    TLuaBudget budget;
    lua_State* lua = nullptr;
    int lint = LUA_NOREF; // the function the prelude returns
    QString failure; // why it cannot lint, for good

    ~TState()
    {
        if (lua)
            lua_close(lua);
    }
};

TLuaLinter::TLuaLinter(QString moduleFolder, std::size_t memoryLimit)
    : moduleFolder(std::move(moduleFolder))
    , memoryLimit(memoryLimit)
{
}

TLuaLinter::~TLuaLinter() = default;

TLinterOutcome TLuaLinter::Check(const QByteArray& bytes, const std::vector<TLinterUnit>& units,
    const QStringList& readGlobals, const QStringList& globals, const std::atomic<bool>* cancel)
{
    TLinterOutcome outcome;
    if (!state) {
        state = std::make_unique<TState>();
        state->budget.limit = memoryLimit;
        if (!QFileInfo(QDir(moduleFolder).filePath(QStringLiteral("luacheck/init.lua"))).isFile()) {
            state->failure = NotInstalled();
        } else if (!(state->lua = NewBudgetedLuaState(state->budget))) {
            state->failure = QStringLiteral("The Lua linter could not start: not enough memory.");
        } else {
            lua_State* lua = state->lua;
            luaL_openlibs(lua);
            // luacheck's own modules only: no C modules, nothing from the user's LUA_PATH.
            const QByteArray folder = QDir(moduleFolder).absolutePath().toUtf8();
            lua_getglobal(lua, "package");
            lua_pushstring(lua, (folder + "/?.lua;" + folder + "/?/init.lua").constData());
            lua_setfield(lua, -2, "path");
            lua_pushstring(lua, "");
            lua_setfield(lua, -2, "cpath");
            lua_pop(lua, 1);
            if (luaL_loadbuffer(lua, Prelude, std::strlen(Prelude), "=linter") != 0 || lua_pcall(lua, 0, 1, 0) != 0
                || !lua_isfunction(lua, -1)) {
                const char* message = lua_tostring(lua, -1);
                state->failure = QStringLiteral("The Lua linter could not start: %1")
                                     .arg(message ? QString::fromUtf8(message) : QStringLiteral("no function"));
                lua_close(lua);
                state->lua = nullptr;
            } else {
                state->lint = luaL_ref(lua, LUA_REGISTRYINDEX);
            }
        }
    }
    if (!state->failure.isEmpty()) {
        outcome.note = state->failure;
        return outcome;
    }

    lua_State* lua = state->lua;
    lua_pushlightuserdata(lua, const_cast<char*>(&CancelKey));
    lua_pushlightuserdata(lua, const_cast<std::atomic<bool>*>(cancel));
    lua_rawset(lua, LUA_REGISTRYINDEX);
    if (cancel)
        lua_sethook(lua, CancelHook, LUA_MASKCOUNT, 10000);
    lua_rawgeti(lua, LUA_REGISTRYINDEX, state->lint);
    PushUnits(lua, bytes, units);
    PushStrings(lua, readGlobals);
    const QString readGlobalsJoined = readGlobals.join(u'\n');
    const QByteArray readGlobalsKey = readGlobalsJoined.toUtf8();
    lua_pushlstring(lua, readGlobalsKey.constData(), std::size_t(readGlobalsKey.size()));
    PushStrings(lua, globals);
    const int status = lua_pcall(lua, 4, 1, 0);
    lua_sethook(lua, nullptr, 0, 0);
    if (status != 0) {
        const char* text = lua_tostring(lua, -1);
        const QString message = text ? QString::fromUtf8(text) : QString();
        if (message.endsWith(QLatin1String(CancelMark)))
            outcome.cancelled = true;
        else if (status == LUA_ERRMEM)
            outcome.note = QStringLiteral("The Lua linter ran out of memory on this script: no linter warnings.");
        else
            outcome.note = QStringLiteral("The Lua linter failed on this script: %1").arg(message);
        lua_pop(lua, 1);
        lua_gc(lua, LUA_GCCOLLECT, 0);
        return outcome;
    }
    linted.clear();
    for (const TLinterUnit& unit : units)
        linted.insert(HashOf(bytes, unit));
    lintedFor = readGlobalsJoined;
    const int count = int(lua_objlen(lua, -1));
    outcome.issues.reserve(std::size_t(count));
    for (int i = 1; i <= count; ++i) {
        lua_rawgeti(lua, -1, i);
        TLinterIssue issue;
        issue.code = StringAt(lua, 1);
        issue.line = IntegerAt(lua, 2);
        issue.column = IntegerAt(lua, 3);
        issue.endColumn = IntegerAt(lua, 4);
        issue.message = StringAt(lua, 5);
        lua_pop(lua, 1);
        outcome.issues.push_back(std::move(issue));
    }
    lua_pop(lua, 1);
    // What the check built goes now, not during the next one.
    lua_gc(lua, LUA_GCCOLLECT, 0);
    return outcome;
}

qsizetype TLuaLinter::UnlintedLength(
    const QByteArray& bytes, const std::vector<TLinterUnit>& units, const QStringList& readGlobals) const
{
    if (state && !state->failure.isEmpty())
        return 0;
    const bool same = readGlobals.join(u'\n') == lintedFor;
    qsizetype length = 0;
    for (const TLinterUnit& unit : units) {
        if (same && linted.contains(HashOf(bytes, unit)))
            continue;
        for (const TLinterSegment& segment : unit.segments)
            length += segment.end - segment.start;
    }
    return length;
}
