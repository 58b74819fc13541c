#include "resources/LuaLibrary.h"

#include <algorithm>

namespace {
struct TEntry {
    const char* name;
    const char* parameters; // comma separated
    const char* summary;
};

// Lua 5.1, as the game runs it.
constexpr TEntry Entries[] = {
    { "assert", "v, [message]", "Raises an error when v is false or nil; else returns its arguments" },
    { "collectgarbage", "[opt], [arg]", "Controls the garbage collector" },
    { "dofile", "[filename]", "Runs a Lua file and returns what it returns" },
    { "error", "message, [level]", "Raises an error with the message" },
    { "getfenv", "[f]", "The environment of a function" },
    { "getmetatable", "object", "The metatable of an object" },
    { "ipairs", "t", "Iterates t[1], t[2], ... up to the first nil" },
    { "load", "func, [chunkname]", "Compiles a chunk read piece by piece" },
    { "loadfile", "[filename]", "Compiles a Lua file without running it" },
    { "loadstring", "string, [chunkname]", "Compiles a string without running it" },
    { "next", "table, [index]", "The next key and value of a table" },
    { "pairs", "t", "Iterates every key and value of t" },
    { "pcall", "f, arg1, ...", "Calls f in protected mode: true and its results, or false and the error" },
    { "print", "...", "Prints its arguments to the console" },
    { "rawequal", "v1, v2", "Compares without metamethods" },
    { "rawget", "table, index", "Reads a table without metamethods" },
    { "rawset", "table, index, value", "Writes a table without metamethods" },
    { "require", "modname", "Loads a module once" },
    { "select", "index, ...", "The arguments after index, or their count for \"#\"" },
    { "setfenv", "f, table", "Sets the environment of a function" },
    { "setmetatable", "table, metatable", "Sets the metatable of a table and returns the table" },
    { "tonumber", "e, [base]", "Converts to a number, or nil" },
    { "tostring", "e", "Converts to a string" },
    { "type", "v", "The type's name: \"nil\", \"number\", \"string\", \"table\", ..." },
    { "unpack", "list, [i], [j]", "Returns the list's elements" },
    { "xpcall", "f, err", "Calls f in protected mode with an error handler" },
    { "coroutine.create", "f", "A new coroutine running f" },
    { "coroutine.resume", "co, [val1], ...", "Starts or continues a coroutine" },
    { "coroutine.running", "", "The running coroutine" },
    { "coroutine.status", "co", "\"running\", \"suspended\", \"normal\" or \"dead\"" },
    { "coroutine.wrap", "f", "A function that resumes a new coroutine" },
    { "coroutine.yield", "...", "Suspends the running coroutine" },
    { "io.close", "[file]", "Closes a file" },
    { "io.flush", "", "Flushes the default output file" },
    { "io.input", "[file]", "Sets or returns the default input file" },
    { "io.lines", "[filename]", "Iterates the lines of a file" },
    { "io.open", "filename, [mode]", "Opens a file: a handle, or nil and a message" },
    { "io.output", "[file]", "Sets or returns the default output file" },
    { "io.popen", "prog, [mode]", "Starts a program with a pipe to or from it" },
    { "io.read", "...", "Reads the default input file" },
    { "io.tmpfile", "", "A temporary file" },
    { "io.type", "obj", "\"file\", \"closed file\" or nil" },
    { "io.write", "...", "Writes to the default output file" },
    { "math.abs", "x", "The absolute value" },
    { "math.acos", "x", "The arc cosine, in radians" },
    { "math.asin", "x", "The arc sine, in radians" },
    { "math.atan", "x", "The arc tangent, in radians" },
    { "math.atan2", "y, x", "The arc tangent of y/x, in radians, by the signs of both" },
    { "math.ceil", "x", "The smallest integer not below x" },
    { "math.cos", "x", "The cosine of x in radians" },
    { "math.cosh", "x", "The hyperbolic cosine" },
    { "math.deg", "x", "Radians to degrees" },
    { "math.exp", "x", "e to the power x" },
    { "math.floor", "x", "The largest integer not above x" },
    { "math.fmod", "x, y", "The remainder of x / y, rounded towards zero" },
    { "math.frexp", "x", "m and e with x = m * 2^e" },
    { "math.huge", "", "A value above every number (not a function)" },
    { "math.ldexp", "m, e", "m * 2^e" },
    { "math.log", "x", "The natural logarithm" },
    { "math.log10", "x", "The base-10 logarithm" },
    { "math.max", "x, ...", "The largest argument" },
    { "math.min", "x, ...", "The smallest argument" },
    { "math.modf", "x", "The integral and fractional parts" },
    { "math.pi", "", "The value of pi (not a function)" },
    { "math.pow", "x, y", "x to the power y" },
    { "math.rad", "x", "Degrees to radians" },
    { "math.random", "[m], [n]", "A random number: in [0, 1), [1, m] or [m, n]" },
    { "math.randomseed", "x", "Seeds the random numbers" },
    { "math.sin", "x", "The sine of x in radians" },
    { "math.sinh", "x", "The hyperbolic sine" },
    { "math.sqrt", "x", "The square root" },
    { "math.tan", "x", "The tangent of x in radians" },
    { "math.tanh", "x", "The hyperbolic tangent" },
    { "os.clock", "", "CPU time used, in seconds" },
    { "os.date", "[format], [time]", "A date as a string or a table" },
    { "os.difftime", "t2, t1", "Seconds from t1 to t2" },
    { "os.execute", "[command]", "Runs a shell command" },
    { "os.exit", "[code]", "Ends the program" },
    { "os.getenv", "varname", "An environment variable, or nil" },
    { "os.remove", "filename", "Deletes a file" },
    { "os.rename", "oldname, newname", "Renames a file" },
    { "os.setlocale", "locale, [category]", "Sets the locale" },
    { "os.time", "[table]", "The current time, or the time a table gives" },
    { "os.tmpname", "", "A name for a temporary file" },
    { "string.byte", "s, [i], [j]", "The codes of characters" },
    { "string.char", "...", "The string of the given codes" },
    { "string.dump", "function", "A function's binary chunk" },
    { "string.find", "s, pattern, [init], [plain]", "Where a pattern first matches: start and end" },
    { "string.format", "formatstring, ...", "Formats its arguments as printf does" },
    { "string.gmatch", "s, pattern", "Iterates the matches of a pattern" },
    { "string.gsub", "s, pattern, repl, [n]", "Replaces the matches of a pattern" },
    { "string.len", "s", "The length" },
    { "string.lower", "s", "In lower case" },
    { "string.match", "s, pattern, [init]", "The captures of the first match" },
    { "string.rep", "s, n", "s repeated n times" },
    { "string.reverse", "s", "Reversed" },
    { "string.sub", "s, i, [j]", "The substring from i to j" },
    { "string.upper", "s", "In upper case" },
    { "table.concat", "table, [sep], [i], [j]", "The elements joined into a string" },
    { "table.insert", "table, [pos], value", "Inserts a value, at the end or at pos" },
    { "table.maxn", "table", "The largest positive numeric index" },
    { "table.remove", "table, [pos]", "Removes and returns an element, the last or at pos" },
    { "table.sort", "table, [comp]", "Sorts the list in place" },
    // The game's.
    { "addhook", "hook, func", "Calls the function named func when the game raises the hook" },
    { "timer", "milliseconds, func, [parameter], [count]",
        "Calls the function named func after a time, count times (0: for ever)" },
    { "parse", "command", "Runs a console command of the game" },
};

std::vector<TLibraryFunction> Build()
{
    std::vector<TLibraryFunction> all;
    for (const TEntry& entry : Entries) {
        const QString parameters = QString::fromUtf8(entry.parameters);
        all.push_back({ QString::fromUtf8(entry.name),
            parameters.isEmpty() ? QStringList() : parameters.split(QStringLiteral(", ")),
            QString::fromUtf8(entry.summary) });
    }
    return all;
}
} // namespace

const std::vector<TLibraryFunction>& LuaLibrary()
{
    static const std::vector<TLibraryFunction> all = Build();
    return all;
}

const TLibraryFunction* FindLibraryFunction(QStringView name)
{
    const std::vector<TLibraryFunction>& all = LuaLibrary();
    const auto found
        = std::find_if(all.begin(), all.end(), [name](const TLibraryFunction& f) { return f.name == name; });
    return found == all.end() ? nullptr : &*found;
}

const QStringList& LibraryTables()
{
    static const QStringList tables { "string", "table", "math", "os", "io", "coroutine" };
    return tables;
}
