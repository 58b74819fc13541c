#include "lua/GameRules.h"

#include "resources/ColourCodeScanner.h"

#include <algorithm>
#include <set>

namespace {
// The tokens with the little look-around the rules need; every index may be out of range.
class TTokenView {
public:
    TTokenView(QStringView text, const std::vector<TLuaToken>& tokens)
        : text(text)
        , tokens(tokens)
        , n(int(tokens.size()))
    {
    }

    int Size() const { return n; }
    const TLuaToken& At(int i) const { return tokens[std::size_t(i)]; }
    QStringView Text(int i) const
    {
        return i >= 0 && i < n ? text.mid(At(i).start, At(i).end - At(i).start) : QStringView();
    }
    bool Is(int i, TLuaTokenKind kind) const { return i >= 0 && i < n && At(i).kind == kind; }
    // A symbol or keyword of that text.
    bool Is(int i, QStringView word) const
    {
        return i >= 0 && i < n && At(i).kind != TLuaTokenKind::String && At(i).kind != TLuaTokenKind::Name
            && Text(i) == word;
    }
    bool IsName(int i, QStringView word) const { return Is(i, TLuaTokenKind::Name) && Text(i) == word; }
    QString Value(int i) const { return LuaStringValue(text, At(i)); }

    // Reads `name(.name)*`, and `:name` after it when `method` is given, from `i`. Returns the index past
    // it (i itself when no name starts there); the name is joined with dots.
    int Chain(int i, QString& name, bool* method = nullptr) const
    {
        name.clear();
        if (!Is(i, TLuaTokenKind::Name))
            return i;
        name = Text(i).toString();
        int j = i + 1;
        while ((Is(j, u".") || (method && Is(j, u":"))) && Is(j + 1, TLuaTokenKind::Name)) {
            const bool colon = Is(j, u":");
            name += u'.';
            name += Text(j + 1);
            j += 2;
            if (colon) {
                *method = true;
                break;
            }
        }
        return j;
    }

    // The named parameters between the parenthesis at `open` and its partner.
    int Parameters(int open) const
    {
        int count = 0;
        for (int i = open + 1; i < n && !Is(i, u")"); ++i) {
            if (Is(i, TLuaTokenKind::Name))
                ++count;
            else if (!Is(i, u","))
                break;
        }
        return count;
    }

    // The first token of argument `index` (0 for the first) of the call whose "(" is at `open`, or -1.
    int Argument(int open, int index) const
    {
        if (index == 0)
            return open + 1 < n && !Is(open + 1, u")") ? open + 1 : -1;
        int depth = 0;
        int current = 0;
        for (int i = open + 1; i < n; ++i) {
            if (At(i).kind != TLuaTokenKind::Symbol)
                continue;
            const QStringView s = Text(i);
            if (s == u"(" || s == u"{" || s == u"[") {
                ++depth;
            } else if (s == u")" || s == u"}" || s == u"]") {
                if (depth-- == 0)
                    return -1; // the call ended first
            } else if (s == u"," && depth == 0 && ++current == index) {
                return i + 1 < n ? i + 1 : -1;
            }
        }
        return -1;
    }

    // A string that is a whole argument by itself.
    bool LiteralArgument(int i) const { return Is(i, TLuaTokenKind::String) && (Is(i + 1, u",") || Is(i + 1, u")")); }

    // A call of a global function of that name: not a field, not the function's own definition.
    bool GlobalCall(int i, QStringView name) const
    {
        return IsName(i, name) && Is(i + 1, u"(") && !Is(i - 1, u".") && !Is(i - 1, u":") && !Is(i - 1, u"function");
    }

private:
    QStringView text;
    const std::vector<TLuaToken>& tokens;
    int n;
};

QString WithoutGlobalTable(const QString& name)
{
    return name.startsWith(QStringLiteral("_G.")) ? name.mid(3) : name;
}

class TDefinitionReader {
public:
    TDefinitionReader(QStringView text, const std::vector<TLuaToken>& tokens)
        : t(text, tokens)
    {
    }

    TScriptDefinitions Run()
    {
        // The open brackets, each "{" with the name of the table it builds when that is known.
        struct TFrame {
            QChar bracket;
            QString table;
        };
        std::vector<TFrame> frames;
        QString name;
        for (int i = 0; i < t.Size(); ++i) {
            if (t.Is(i, u"function")) {
                bool method = false;
                const int after = t.Chain(i + 1, name, &method);
                if (!name.isEmpty() && t.Is(after, u"(")) {
                    const bool local = t.Is(i - 1, u"local");
                    Define(WithoutGlobalTable(name), i + 1, after, t.Parameters(after) + (method ? 1 : 0));
                    if (local)
                        found.tables.insert(name);
                    else
                        found.globals.insert(name.section(u'.', 0, 0));
                    i = after - 1;
                }
            } else if (t.Is(i, u"local") && t.Is(i + 1, TLuaTokenKind::Name)) {
                // "local a, b = ...": each name is declared; a lone one may get a function or a table.
                int j = i + 1;
                found.tables.insert(t.Text(j).toString());
                const bool alone = !t.Is(j + 1, u",");
                while (t.Is(j + 1, u",") && t.Is(j + 2, TLuaTokenKind::Name)) {
                    j += 2;
                    found.tables.insert(t.Text(j).toString());
                }
                i = j;
                if (alone && t.Is(j + 1, u"=")) {
                    const QString local = t.Text(j).toString();
                    if (t.Is(j + 2, u"function") && t.Is(j + 3, u"(")) {
                        Define(local, j, j + 1, t.Parameters(j + 3));
                    } else if (t.Is(j + 2, u"{")) {
                        frames.push_back({ u'{', local });
                        i = j + 2;
                    }
                }
            } else if (t.Is(i, TLuaTokenKind::Name)) {
                if (t.IsName(i, u"dofile")) {
                    const int path = t.Is(i + 1, u"(") ? i + 2 : i + 1;
                    if (t.Is(path, TLuaTokenKind::String))
                        found.dofiles << t.Value(path);
                }
                if (t.Is(i - 1, u".") || t.Is(i - 1, u":"))
                    continue;
                const int after = t.Chain(i, name);
                if (!t.Is(after, u"="))
                    continue;
                const bool field = !frames.empty() && frames.back().bracket == u'{'
                    && (t.Is(i - 1, u"{") || t.Is(i - 1, u",") || t.Is(i - 1, u";"));
                QString full;
                if (field) {
                    if (!frames.back().table.isEmpty() && after == i + 1)
                        full = frames.back().table + u'.' + name;
                } else {
                    full = WithoutGlobalTable(name);
                    if (after == i + 1)
                        found.globals.insert(name);
                }
                if (!full.isEmpty()) {
                    found.tables.insert(full);
                    if (t.Is(after + 1, u"function") && t.Is(after + 2, u"("))
                        Define(full, i, after, t.Parameters(after + 2));
                }
                if (t.Is(after + 1, u"{")) {
                    frames.push_back({ u'{', full });
                    i = after + 1;
                } else {
                    i = after;
                }
            } else if (t.Is(i, TLuaTokenKind::Symbol)) {
                const QStringView s = t.Text(i);
                if (s == u"{" || s == u"(" || s == u"[")
                    frames.push_back({ s[0], QString() });
                else if ((s == u"}" || s == u")" || s == u"]") && !frames.empty())
                    frames.pop_back();
            }
        }
        return std::move(found);
    }

private:
    // A definition whose name runs from token `first` to the one before `after`.
    void Define(const QString& name, int first, int after, int parameters)
    {
        if (!found.functions.contains(name))
            found.functions.insert(name, { t.At(first).start, t.At(after - 1).end, parameters });
    }

    TTokenView t;
    TScriptDefinitions found;
};

QString Quoted(const QString& s)
{
    return u'"' + s + u'"';
}

class TRuleChecker {
public:
    explicit TRuleChecker(const TGameRuleInput& input)
        : in(input)
        , t(input.text, *input.tokens)
    {
    }

    std::vector<TProblem> Run()
    {
        for (int i = 0; i < t.Size(); ++i) {
            if (t.GlobalCall(i, u"addhook"))
                AddHook(i + 1);
            else if (t.GlobalCall(i, u"timer"))
                Timer(i + 1);
        }
        ColourCodes();
        return std::move(problems);
    }

private:
    void Add(int start, int end, ProblemSeverity severity, const QString& message)
    {
        problems.push_back({ .start = start, .end = end, .severity = severity, .message = message });
    }

    void AddHook(int open)
    {
        const int hookArgument = t.Argument(open, 0);
        const TGameHook* hook = nullptr;
        if (t.LiteralArgument(hookArgument)) {
            const QString name = t.Value(hookArgument);
            hook = FindHook(name, *in.extraHooks);
            if (!hook) {
                const QStringList near = NearestHookNames(name, *in.extraHooks);
                QString message
                    = QStringLiteral("Unknown hook %1 (not in the editor's list of hooks").arg(Quoted(name));
                if (near.isEmpty()) {
                    message += QStringLiteral("; a hook the game has can be added to %1)")
                                   .arg(QString::fromLatin1(ExtraHooksFileName));
                } else {
                    QStringList quoted;
                    for (const QString& n : near)
                        quoted << Quoted(n);
                    const QString last = quoted.takeLast();
                    message += QStringLiteral("); did you mean %1?")
                                   .arg(quoted.isEmpty() ? last : quoted.join(QStringLiteral(", ")) + " or " + last);
                }
                Add(t.At(hookArgument).start, t.At(hookArgument).end, ProblemSeverity::Warning, message);
            }
        }
        const int handler = t.Argument(open, 1);
        if (t.LiteralArgument(handler))
            FunctionNamed(handler, QStringLiteral("Handler"), hook);
    }

    void Timer(int open)
    {
        const int function = t.Argument(open, 1);
        if (t.LiteralArgument(function))
            FunctionNamed(function, QStringLiteral("Timer function"), nullptr);
    }

    // A function that the game calls by the name in the string at `token`.
    void FunctionNamed(int token, const QString& what, const TGameHook* hook)
    {
        const QString written = t.Value(token);
        const QString name = QString(written).replace(u':', u'.');
        if (const auto own = in.own->functions.constFind(name); own != in.own->functions.cend()) {
            if (hook && own->parameters > hook->parameters.size() && hinted.insert({ own->nameStart, hook }).second) {
                const QString passes = hook->parameters.isEmpty()
                    ? QStringLiteral("none")
                    : QStringLiteral("%1: %2").arg(hook->parameters.size()).arg(hook->ParameterList());
                Add(own->nameStart, own->nameEnd, ProblemSeverity::Hint,
                    QStringLiteral("Handler %1 takes %2 parameters, but hook %3 passes %4")
                        .arg(Quoted(written))
                        .arg(own->parameters)
                        .arg(Quoted(hook->name), passes));
            }
            return;
        }
        const auto definedElsewhere = [&](auto member, const QString& key) {
            return std::any_of(in.elsewhere.begin(), in.elsewhere.end(),
                [&](const TScriptDefinitions* d) { return (d->*member).contains(key); });
        };
        if (definedElsewhere(&TScriptDefinitions::functions, name) || (in.apiNames && in.apiNames->contains(name)))
            return;
        const qsizetype dot = name.lastIndexOf(u'.');
        const QString table = dot > 0 ? name.left(dot) : QString();
        if (!table.isEmpty() && !in.own->tables.contains(table)
            && !definedElsewhere(&TScriptDefinitions::tables, table)) {
            Add(t.At(token).start, t.At(token).end, ProblemSeverity::Hint,
                QStringLiteral("%1 %2 is not defined here, and neither is the table %3: it may be defined in a "
                               "file the editor does not see")
                    .arg(what, Quoted(written), Quoted(table)));
            return;
        }
        Add(t.At(token).start, t.At(token).end, ProblemSeverity::Warning,
            QStringLiteral("%1 %2 is not defined in this script, the other scripts of its folder or the files "
                           "it loads with dofile")
                .arg(what, Quoted(written)));
    }

    void ColourCodes()
    {
        static const char* const Components[] = { "red", "green", "blue" };
        for (const TColourCode& code : FindColourCodes(in.text)) {
            if (code.place == TColourCodePlace::Comment || code.Valid())
                continue;
            const int start = int(code.start);
            const int end = int(code.start + code.length);
            const QString written = Quoted(in.text.mid(start, end - start).toString());
            if (!code.Complete()) {
                Add(start, end, ProblemSeverity::Warning,
                    QStringLiteral("Colour code %1 needs nine digits, three each for red, green and blue")
                        .arg(written));
                continue;
            }
            const int values[] = { code.r, code.g, code.b };
            const int over = int(
                std::find_if(std::begin(values), std::end(values), [](int v) { return v > 255; }) - std::begin(values));
            Add(start, end, ProblemSeverity::Warning,
                QStringLiteral("Colour code %1: %2 is %3, above 255")
                    .arg(written, QString::fromLatin1(Components[over]))
                    .arg(values[over]));
        }
    }

    const TGameRuleInput& in;
    TTokenView t;
    std::vector<TProblem> problems;
    // The handlers told about their parameters already, with the hook: one hint for each pair.
    std::set<std::pair<int, const TGameHook*>> hinted;
};

// Edit distance where swapping two neighbours is one edit (the optimal string alignment distance).
int EditDistance(const QString& a, const QString& b)
{
    const int m = int(a.size());
    const int n = int(b.size());
    std::vector<std::vector<int>> d(std::size_t(m + 1), std::vector<int>(std::size_t(n + 1)));
    for (int i = 0; i <= m; ++i)
        d[i][0] = i;
    for (int j = 0; j <= n; ++j)
        d[0][j] = j;
    for (int i = 1; i <= m; ++i) {
        for (int j = 1; j <= n; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({ d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost });
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[m][n];
}
} // namespace

TScriptDefinitions ReadDefinitions(QStringView text, const std::vector<TLuaToken>& tokens)
{
    return TDefinitionReader(text, tokens).Run();
}

std::vector<TProblem> CheckGameRules(const TGameRuleInput& input)
{
    return TRuleChecker(input).Run();
}

QStringList NearestHookNames(const QString& name, const std::vector<TGameHook>& extraHooks)
{
    // A slip is one edit in a short name, two in a longer one; more is another word.
    const QString wanted = name.toLower();
    const int allowed = wanted.size() <= 4 ? 1 : wanted.size() <= 9 ? 2 : 3;
    int best = allowed + 1;
    QStringList nearest;
    const auto consider = [&](const TGameHook& hook) {
        if (nearest.contains(hook.name))
            return;
        const int distance = EditDistance(wanted, hook.name.toLower());
        if (distance < best) {
            best = distance;
            nearest.clear();
        }
        if (distance == best)
            nearest << hook.name;
    };
    for (const TGameHook& hook : extraHooks)
        consider(hook);
    for (const TGameHook& hook : HookCatalogue())
        consider(hook);
    if (nearest.size() > 3)
        nearest = nearest.mid(0, 3);
    return nearest;
}
