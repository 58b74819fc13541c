#include "lua/ScriptCheck.h"

#include "lua/GameRules.h"
#include "lua/LuaLinter.h"
#include "lua/SyntaxCheck.h"
#include "resources/ScriptText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {
// A file the script shares its globals with, as last read.
struct TOtherFile {
    QDateTime modified;
    qint64 size = -1;
    TScriptDefinitions definitions;
};

// Where lines start, for turning Lua's lines (which end at "\n", "\r", "\r\n" or "\n\r") and the text
// area's (which end at "\n") into positions.
class TLineIndex {
public:
    TLineIndex(QStringView text, bool luaBreaks)
        : size(int(text.size()))
    {
        starts.push_back(0);
        for (int i = 0; i < size; ++i) {
            const QChar c = text[i];
            if (c == u'\n' || (luaBreaks && c == u'\r')) {
                if (luaBreaks && i + 1 < size && (text[i + 1] == u'\n' || text[i + 1] == u'\r') && text[i + 1] != c)
                    ++i;
                starts.push_back(i + 1);
            }
        }
    }

    int Lines() const { return int(starts.size()); }
    // The start of a line counted from 0, clamped to the lines there are.
    int Start(int line) const { return starts[std::size_t(std::clamp(line, 0, Lines() - 1))]; }
    // The end of a line's text, before its break.
    int End(QStringView text, int line) const
    {
        if (line + 1 >= Lines())
            return size;
        int end = Start(line + 1);
        while (end > Start(line) && (text[end - 1] == u'\n' || text[end - 1] == u'\r'))
            --end;
        return end;
    }
    int LineOf(int position) const
    {
        return int(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin()) - 1;
    }

private:
    std::vector<int> starts;
    int size;
};

// The script as the linter reads it: one byte for each unit of the text, every unit outside ASCII an
// "x". A script that compiles holds such characters only in strings and comments, where the linter
// does not look at them; so it needs no decoding (which would cost it a table of the whole text's
// characters), and its columns are the text's own positions in the line.
QByteArray LinterBytes(const QString& text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    const QChar* unit = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i)
        bytes[i] = unit[i].unicode() < 0x80 ? char(unit[i].unicode()) : 'x';
    return bytes;
}

// luacheck's codes as the editor weighs them: unused locals and values, shadowing, unreachable code,
// empty blocks and undefined globals are hints (a script may do any of them on purpose, and a global may
// come from a file the editor does not see); the rest, such as assigning the game's read-only names,
// warnings.
ProblemSeverity LinterSeverity(const QString& code)
{
    static const char* const Hints[] = { "21", "22", "23", "24", "31", "4", "511", "512", "541", "542", "113" };
    const bool hint = std::any_of(std::begin(Hints), std::end(Hints),
        [&code](const char* prefix) { return code.startsWith(QLatin1String(prefix)); });
    return hint ? ProblemSeverity::Hint : ProblemSeverity::Warning;
}

// The range Lua's message points at: the token it names with "near '...'" on its line, else the line.
// When the line holds that token more than once, the one Lua stopped at is the first that, with the text
// before it, gives the same message: before it, Lua would stop at the end of the text instead.
std::pair<int, int> SyntaxErrorRange(
    QStringView text, const std::vector<TLuaToken>& tokens, const TLineIndex& lines, const TSyntaxError& error)
{
    const int line = std::max(0, error.line - 1);
    const int from = lines.Start(line);
    const int to = lines.End(text, line);
    static const QString Near = QStringLiteral(" near '");
    const qsizetype near = error.message.lastIndexOf(Near);
    if (near < 0 || !error.message.endsWith(u'\''))
        return { from, to };
    const QStringView named = QStringView(error.message).mid(near + Near.size()).chopped(1);
    std::vector<const TLuaToken*> candidates;
    auto token = std::lower_bound(
        tokens.begin(), tokens.end(), from, [](const TLuaToken& t, int position) { return t.start < position; });
    for (; token != tokens.end() && token->start < to; ++token) {
        if (text.mid(token->start, token->end - token->start) == named)
            candidates.push_back(&*token);
    }
    if (candidates.empty())
        return { from, to };
    for (std::size_t i = 0; i + 1 < candidates.size(); ++i) {
        if (CheckLuaSyntax(text.left(candidates[i]->end).toUtf8(), QStringLiteral("script")) == error)
            return { candidates[i]->start, candidates[i]->end };
    }
    return { candidates.back()->start, candidates.back()->end };
}

// Every range inside the text and one unit long at least, with the text area's line and column, in text
// order.
std::vector<TProblem> Finished(std::vector<TProblem> problems, QStringView text, const TLineIndex& editorLines)
{
    const int size = int(text.size());
    for (TProblem& problem : problems) {
        problem.start = std::clamp(problem.start, 0, std::max(0, size - 1));
        problem.end = std::clamp(problem.end, problem.start + (size > 0 ? 1 : 0), size);
        problem.line = editorLines.LineOf(problem.start);
        problem.column = problem.start - editorLines.Start(problem.line);
    }
    std::stable_sort(problems.begin(), problems.end(),
        [](const TProblem& a, const TProblem& b) { return a.start != b.start ? a.start < b.start : a.end < b.end; });
    return problems;
}
} // namespace

struct TScriptChecker::TState {
    std::unique_ptr<TLuaLinter> linter;
    QHash<QString, TOtherFile> files; // by absolute path

    // The definitions of a file, read again only when it changed; null when it cannot be read.
    const TScriptDefinitions* Definitions(const QString& path)
    {
        const QFileInfo info(path);
        if (!info.isFile() || info.size() > CheckedFileBytes) {
            files.remove(path);
            return nullptr;
        }
        TOtherFile& file = files[path];
        if (file.size == info.size() && file.modified == info.lastModified())
            return &file.definitions;
        QFile reading(path);
        if (!reading.open(QIODevice::ReadOnly)) {
            files.remove(path);
            return nullptr;
        }
        const QString text = DecodeScript(reading.readAll()).text;
        file.size = info.size();
        file.modified = info.lastModified();
        file.definitions = ReadDefinitions(text, ReadLuaTokens(text));
        return &file.definitions;
    }
};

TScriptChecker::TScriptChecker()
    : state(std::make_unique<TState>())
{
}

TScriptChecker::~TScriptChecker() = default;

TCheckResult TScriptChecker::Check(const TCheckInput& input, const std::atomic<bool>* cancel, const TEarlyResult& early)
{
    TCheckResult result;
    const auto cancelled = [&] {
        result.cancelled = result.cancelled || (cancel && cancel->load(std::memory_order_relaxed));
        return result.cancelled;
    };
    if (cancelled())
        return result;
    const QString& text = input.text;
    const TLineIndex editorLines(text, false);
    // Lua's lines are the text area's unless a carriage return stands alone.
    const std::optional<TLineIndex> ownLuaLines
        = text.contains(u'\r') ? std::optional<TLineIndex>(std::in_place, text, true) : std::nullopt;
    const TLineIndex& luaLines = ownLuaLines ? *ownLuaLines : editorLines;
    const QByteArray utf8 = text.toUtf8();
    std::vector<TProblem> problems;

    const std::optional<TSyntaxError> error = CheckLuaSyntax(utf8, QStringLiteral("script"));
    if (cancelled())
        return result;
    const std::vector<TLuaToken> tokens = ReadLuaTokens(text);
    if (error) {
        result.syntaxError = true;
        const auto [start, end] = SyntaxErrorRange(text, tokens, luaLines, *error);
        problems.push_back(
            { .start = start, .end = end, .severity = ProblemSeverity::Error, .message = error->message });
    }

    // The files that share the script's globals: its folder's other scripts and what it loads by dofile.
    const TScriptDefinitions own = ReadDefinitions(text, tokens);
    TGameRuleInput rules;
    rules.text = text;
    rules.tokens = &tokens;
    rules.own = &own;
    rules.extraHooks = &input.extraHooks;
    const QSet<QString> apiNames(input.apiNames.begin(), input.apiNames.end());
    rules.apiNames = &apiNames;
    QSet<QString> seen;
    QStringList pending;
    QString scriptFolder;
    if (!input.scriptPath.isEmpty()) {
        const QFileInfo script(input.scriptPath);
        scriptFolder = script.absolutePath();
        seen.insert(script.absoluteFilePath());
        const QDir folder(scriptFolder);
        for (const QString& name : folder.entryList({ QStringLiteral("*.lua") }, QDir::Files, QDir::Name))
            pending << folder.absoluteFilePath(name);
    }
    const auto loadedBy = [&](const QStringList& dofiles) {
        for (const QString& path : dofiles) {
            for (const QString& base : { scriptFolder, input.gameFolder }) {
                if (base.isEmpty() && QDir::isRelativePath(path))
                    continue;
                const QString full = QDir::cleanPath(QDir(base).absoluteFilePath(path));
                if (QFileInfo(full).isFile()) {
                    pending << full;
                    break;
                }
            }
        }
    };
    loadedBy(own.dofiles);
    while (!pending.isEmpty() && int(seen.size()) < CheckedFileLimit) {
        if (cancelled())
            return result;
        const QString path = pending.takeFirst();
        if (seen.contains(path))
            continue;
        seen.insert(path);
        if (const TScriptDefinitions* other = state->Definitions(path)) {
            rules.elsewhere.push_back(other);
            loadedBy(other->dofiles);
        }
    }
    for (TProblem& problem : CheckGameRules(rules))
        problems.push_back(std::move(problem));
    if (cancelled())
        return result;

    if (input.linter && !result.syntaxError) {
        const QString modules
            = input.linterModules.isEmpty() ? QString::fromLatin1(DefaultLinterModules) : input.linterModules;
        if (!state->linter || state->linter->ModuleFolder() != modules)
            state->linter = std::make_unique<TLuaLinter>(modules);
        QStringList readGlobals;
        for (const QString& name : input.apiNames) {
            if (IsLuaName(name))
                readGlobals << name;
        }
        // The globals the script and its other files define, the game's names left read-only.
        QSet<QString> shared = own.globals;
        for (const TScriptDefinitions* other : rules.elsewhere)
            shared.unite(other->globals);
        shared.subtract(apiNames);
        const QByteArray bytes = LinterBytes(text);
        const std::vector<TLinterUnit> units = SplitForLinter(text, tokens);
        if (early && state->linter->UnlintedLength(bytes, units, readGlobals) >= earlyLintLength) {
            TCheckResult first = result;
            first.problems = Finished(problems, text, editorLines);
            early(std::move(first));
        }
        const TLinterOutcome lint
            = state->linter->Check(bytes, units, readGlobals, QStringList(shared.begin(), shared.end()), cancel);
        if (lint.cancelled || cancelled()) {
            result.cancelled = true;
            return result;
        }
        result.linterNote = lint.note;
        for (const TLinterIssue& issue : lint.issues) {
            if (issue.code.startsWith(u'0'))
                continue; // syntax: Lua's compiler has said it
            const int line = std::clamp(issue.line - 1, 0, luaLines.Lines() - 1);
            const int from = luaLines.Start(line);
            const int to = luaLines.End(text, line);
            const int start = std::clamp(from + issue.column - 1, from, to);
            const int end = std::clamp(from + issue.endColumn, start, to);
            problems.push_back(
                { .start = start, .end = end, .severity = LinterSeverity(issue.code), .message = issue.message });
        }
    }

    result.problems = Finished(std::move(problems), text, editorLines);
    return result;
}
