#include "highlight/Completion.h"

#include <QChar>
#include <QSet>

#include <algorithm>
#include <array>

namespace {
bool IsNameStart(QChar c)
{
    return c.isLetter() || c == u'_';
}
bool IsNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

constexpr std::array<std::u16string_view, 21> LuaKeywords { u"and", u"break", u"do", u"else", u"elseif", u"end",
    u"false", u"for", u"function", u"if", u"in", u"local", u"nil", u"not", u"or", u"repeat", u"return", u"then",
    u"true", u"until", u"while" };
bool IsLuaKeyword(QStringView word)
{
    return std::any_of(LuaKeywords.begin(), LuaKeywords.end(),
        [word](std::u16string_view keyword) { return word == QStringView(keyword.data(), keyword.size()); });
}

// The tokens of one line, enough to read definitions: names, strings (their contents), and single signs.
struct TToken {
    enum Kind : uint8_t { Name, String, Number, Sign } kind;
    QStringView text; // a string's contents without its quotes
};

std::vector<TToken> Tokens(QStringView line)
{
    std::vector<TToken> tokens;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = line[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && i + 1 < n && line[i + 1] == u'-') {
            break; // a comment runs to the line's end
        } else if (c == u'"' || c == u'\'') {
            qsizetype j = i + 1;
            while (j < n && line[j] != c)
                j += line[j] == u'\\' ? 2 : 1;
            tokens.push_back({ TToken::String, line.mid(i + 1, std::min(j, n) - i - 1) });
            i = j + 1;
        } else if (c == u'[' && i + 1 < n && line[i + 1] == u'[') {
            const qsizetype close = line.indexOf(u"]]", i + 2);
            const qsizetype end = close < 0 ? n : close;
            tokens.push_back({ TToken::String, line.mid(i + 2, end - i - 2) });
            i = close < 0 ? n : close + 2;
        } else if (IsNameStart(c)) {
            qsizetype j = i + 1;
            while (j < n && IsNamePart(line[j]))
                ++j;
            tokens.push_back({ TToken::Name, line.mid(i, j - i) });
            i = j;
        } else if (c.isDigit()) {
            qsizetype j = i + 1;
            while (j < n && (IsNamePart(line[j]) || line[j] == u'.'))
                ++j;
            tokens.push_back({ TToken::Number, line.mid(i, j - i) });
            i = j;
        } else {
            // "==" stays one token, so that a comparison is not read as an assignment.
            const qsizetype length = c == u'=' && i + 1 < n && line[i + 1] == u'=' ? 2 : 1;
            tokens.push_back({ TToken::Sign, line.mid(i, length) });
            i += length;
        }
    }
    return tokens;
}

bool IsSign(const std::vector<TToken>& tokens, std::size_t k, QStringView sign)
{
    return k < tokens.size() && tokens[k].kind == TToken::Sign && tokens[k].text == sign;
}
bool IsWord(const std::vector<TToken>& tokens, std::size_t k, QStringView word)
{
    return k < tokens.size() && tokens[k].kind == TToken::Name && tokens[k].text == word;
}
bool IsPlainName(const std::vector<TToken>& tokens, std::size_t k)
{
    return k < tokens.size() && tokens[k].kind == TToken::Name && !IsLuaKeyword(tokens[k].text);
}

// A dotted name from token k ("zm.onhit", "obj:method"); k is left behind it.
QString DottedName(const std::vector<TToken>& tokens, std::size_t& k)
{
    QString name = tokens[k++].text.toString();
    while ((IsSign(tokens, k, u".") || IsSign(tokens, k, u":")) && IsPlainName(tokens, k + 1)) {
        name += tokens[k].text;
        name += tokens[k + 1].text;
        k += 2;
    }
    return name;
}

// The parameter names between the parentheses that open at token k; k is left behind them.
QStringList Parameters(const std::vector<TToken>& tokens, std::size_t& k)
{
    QStringList parameters;
    if (!IsSign(tokens, k, u"("))
        return parameters;
    for (++k; k < tokens.size() && !IsSign(tokens, k, u")"); ++k) {
        if (tokens[k].kind == TToken::Name)
            parameters << tokens[k].text.toString();
        else if (IsSign(tokens, k, u".") && IsSign(tokens, k + 1, u".") && IsSign(tokens, k + 2, u"."))
            parameters << QStringLiteral("...");
    }
    return parameters;
}
} // namespace

QString CompletionKindName(CompletionKind kind)
{
    switch (kind) {
    case CompletionKind::Hook:
        return QStringLiteral("hook");
    case CompletionKind::Function:
        return QStringLiteral("function");
    case CompletionKind::Local:
        return QStringLiteral("local");
    case CompletionKind::Global:
        return QStringLiteral("global");
    case CompletionKind::Field:
        return QStringLiteral("field");
    case CompletionKind::Keyword:
        return QStringLiteral("keyword");
    case CompletionKind::Library:
        return QStringLiteral("library");
    case CompletionKind::Parameters:
        return QStringLiteral("parameters");
    }
    return QString();
}

TCompletionPlace CompletionPlaceAt(QStringView line, int caret)
{
    TCompletionPlace place;
    caret = std::clamp(caret, 0, static_cast<int>(line.size()));
    // Walk the line up to the caret, as Lua reads it: where a string or a comment is open at the caret.
    enum class Mode { Code, Quoted, Long, Comment } mode = Mode::Code;
    QChar quote;
    int stringStart = -1;
    for (int i = 0; i < caret; ++i) {
        const QChar c = line[i];
        switch (mode) {
        case Mode::Code:
            if (c == u'-' && i + 1 < line.size() && line[i + 1] == u'-') {
                mode = Mode::Comment;
            } else if (c == u'"' || c == u'\'') {
                mode = Mode::Quoted;
                quote = c;
                stringStart = i;
            } else if (c == u'[' && i + 1 < line.size() && line[i + 1] == u'[') {
                mode = Mode::Long;
                stringStart = i;
                ++i;
            }
            break;
        case Mode::Quoted:
            if (c == u'\\')
                ++i;
            else if (c == quote)
                mode = Mode::Code;
            break;
        case Mode::Long:
            if (c == u']' && i + 1 < caret && line[i + 1] == u']') {
                mode = Mode::Code;
                ++i;
            }
            break;
        case Mode::Comment:
            break;
        }
        if (mode == Mode::Comment)
            return place;
    }
    int start = caret;
    while (start > 0 && IsNamePart(line[start - 1]))
        --start;
    if (mode == Mode::Long)
        return place;
    if (mode == Mode::Quoted) {
        // Only the first string of addhook( takes completion: the hook's name.
        int before = stringStart;
        while (before > 0 && line[before - 1].isSpace())
            --before;
        if (before == 0 || line[before - 1] != u'(')
            return place;
        int nameEnd = before - 1;
        while (nameEnd > 0 && line[nameEnd - 1].isSpace())
            --nameEnd;
        int nameStart = nameEnd;
        while (nameStart > 0 && IsNamePart(line[nameStart - 1]))
            --nameStart;
        const bool member = nameStart > 0 && (line[nameStart - 1] == u'.' || line[nameStart - 1] == u':');
        if (member || line.mid(nameStart, nameEnd - nameStart) != u"addhook" || start <= stringStart)
            return place;
        place.where = TCompletionPlace::Where::HookName;
        place.start = std::max(start, stringStart + 1);
        place.prefix = line.mid(place.start, caret - place.start).toString();
        return place;
    }
    if (start < caret && line[start].isDigit())
        return place; // a number, or a name's digits with nothing before: nothing to complete
    place.start = start;
    place.prefix = line.mid(start, caret - start).toString();
    if (start > 0 && (line[start - 1] == u'.' || line[start - 1] == u':')
        && !(start > 1 && line[start - 2] == u'.')) { // ".." joins strings
        int tableStart = start - 1;
        while (tableStart > 0 && (IsNamePart(line[tableStart - 1]) || line[tableStart - 1] == u'.'))
            --tableStart;
        const QStringView table = line.mid(tableStart, start - 1 - tableStart);
        if (table.isEmpty() || !IsNameStart(table[0]))
            return TCompletionPlace {};
        place.where = TCompletionPlace::Where::Member;
        place.table = table.toString();
        return place;
    }
    place.where = TCompletionPlace::Where::Name;
    return place;
}

int CompletionMatch(QStringView text, QStringView prefix)
{
    if (text.startsWith(prefix))
        return 3;
    if (text.startsWith(prefix, Qt::CaseInsensitive))
        return 2;
    qsizetype k = 0;
    for (qsizetype i = 0; i < text.size() && k < prefix.size(); ++i) {
        if (text[i].toCaseFolded() == prefix[k].toCaseFolded())
            ++k;
    }
    return k == prefix.size() ? 1 : 0;
}

std::vector<TCompletionItem> FilterCompletions(
    std::span<const TCompletionItem> items, QStringView prefix, std::size_t limit)
{
    struct TRanked {
        const TCompletionItem* item;
        int match;
    };
    std::vector<TRanked> ranked;
    for (const TCompletionItem& item : items) {
        if (item.text == prefix)
            continue;
        if (const int match = CompletionMatch(item.text, prefix))
            ranked.push_back({ &item, match });
    }
    const auto before = [](const TRanked& a, const TRanked& b) {
        // Prefixes in either case rank together: what the user typed need not have the name's case.
        const int aMatch = a.match >= 2 ? 2 : 1;
        const int bMatch = b.match >= 2 ? 2 : 1;
        if (aMatch != bMatch)
            return aMatch > bMatch;
        if (a.item->script != b.item->script)
            return a.item->script;
        const int order = QString::compare(a.item->text, b.item->text, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.item->text < b.item->text;
    };
    const std::size_t count = std::min(limit, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(count), ranked.end(), before);
    std::vector<TCompletionItem> out;
    out.reserve(count);
    for (std::size_t k = 0; k < count; ++k)
        out.push_back(*ranked[k].item);
    return out;
}

TScriptNames::TLine TScriptNames::Read(QStringView text)
{
    TLine line;
    const std::vector<TToken> tokens = Tokens(text);
    const auto function = [&](const QString& name, std::size_t& k) {
        const QStringList parameters = Parameters(tokens, k);
        line.names.push_back({ name, CompletionKind::Function,
            QLatin1Char('(') + parameters.join(QStringLiteral(", ")) + QLatin1Char(')') });
        for (const QString& parameter : parameters) {
            if (parameter != QStringLiteral("..."))
                line.names.push_back({ parameter, CompletionKind::Local, QStringLiteral("parameter of ") + name });
        }
    };
    for (std::size_t k = 0; k < tokens.size();) {
        if (IsWord(tokens, k, u"function") && IsPlainName(tokens, k + 1)) {
            std::size_t at = k + 1;
            const QString name = DottedName(tokens, at);
            function(name, at);
            k = at;
        } else if (IsWord(tokens, k, u"local") && IsPlainName(tokens, k + 1)) {
            std::size_t at = k + 1;
            QStringList locals;
            while (IsPlainName(tokens, at)) {
                locals << tokens[at].text.toString();
                if (!IsSign(tokens, at + 1, u","))
                    break;
                at += 2;
            }
            const bool isFunction = IsSign(tokens, at + 1, u"=") && IsWord(tokens, at + 2, u"function");
            for (const QString& name : locals)
                line.names.push_back({ name, CompletionKind::Local, QStringLiteral("local") });
            if (isFunction && locals.size() == 1) {
                std::size_t params = at + 3;
                line.names.pop_back();
                function(locals.front(), params);
            }
            k = at + 1;
        } else if (IsPlainName(tokens, k) && !(k > 0 && (IsSign(tokens, k - 1, u".") || IsSign(tokens, k - 1, u":")))) {
            std::size_t at = k;
            const QString name = DottedName(tokens, at);
            if (IsSign(tokens, at, u"=")) {
                if (IsWord(tokens, at + 1, u"function")) {
                    std::size_t params = at + 2;
                    function(name, params);
                } else {
                    const bool dotted = name.contains(QLatin1Char('.')) || name.contains(QLatin1Char(':'));
                    line.names.push_back({ name, dotted ? CompletionKind::Field : CompletionKind::Global,
                        dotted ? QStringLiteral("field") : QStringLiteral("global") });
                    // The fields a table built on the line gives: zm = { speed = 5, name = "x" }
                    if (IsSign(tokens, at + 1, u"{")) {
                        int depth = 0;
                        std::size_t f = at + 1;
                        for (; f < tokens.size(); ++f) {
                            if (IsSign(tokens, f, u"{"))
                                ++depth;
                            else if (IsSign(tokens, f, u"}") && --depth == 0)
                                break;
                            else if (depth == 1 && IsPlainName(tokens, f) && IsSign(tokens, f + 1, u"=")
                                && (IsSign(tokens, f - 1, u"{") || IsSign(tokens, f - 1, u",")))
                                line.names.push_back({ name + QLatin1Char('.') + tokens[f].text.toString(),
                                    CompletionKind::Field, QStringLiteral("field") });
                        }
                        at = f; // the constructor's keys are no globals
                    }
                }
            } else if (name == QStringLiteral("addhook") && IsSign(tokens, at, u"(") && at + 3 < tokens.size()
                && tokens[at + 1].kind == TToken::String && IsSign(tokens, at + 2, u",")
                && tokens[at + 3].kind == TToken::String) {
                line.registrations.push_back({ tokens[at + 3].text.toString(), tokens[at + 1].text.toString() });
            } else if (name == QStringLiteral("timer") && IsSign(tokens, at, u"(")) {
                // The period may be an expression: it runs to the first comma outside brackets.
                std::size_t comma = at + 1;
                int depth = 0;
                QStringList period;
                for (; comma < tokens.size() && !(depth == 0 && IsSign(tokens, comma, u",")); ++comma) {
                    depth += IsSign(tokens, comma, u"(") ? 1 : (IsSign(tokens, comma, u")") ? -1 : 0);
                    if (depth < 0)
                        break;
                    period << tokens[comma].text.toString();
                }
                if (IsSign(tokens, comma, u",") && comma + 1 < tokens.size()
                    && tokens[comma + 1].kind == TToken::String)
                    line.timers.push_back({ tokens[comma + 1].text.toString(), period.join(QLatin1Char(' ')) });
            }
            k = std::max(at, k + 1);
        } else {
            ++k;
        }
    }
    return line;
}

CompletionKind TScriptNames::TCount::Kind() const
{
    for (const CompletionKind kind :
        { CompletionKind::Function, CompletionKind::Local, CompletionKind::Field, CompletionKind::Global }) {
        if (kinds[static_cast<std::size_t>(kind)] > 0)
            return kind;
    }
    return CompletionKind::Global;
}

std::unique_ptr<TScriptNames::TLine> TScriptNames::Kept(TLine line)
{
    if (line.names.empty() && line.registrations.empty() && line.timers.empty())
        return nullptr;
    return std::make_unique<TLine>(std::move(line));
}

void TScriptNames::Count(const std::unique_ptr<TLine>& kept, int delta)
{
    if (!kept)
        return;
    const TLine& line = *kept;
    ++version;
    for (const TName& name : line.names) {
        TCount& count = counts[name.name];
        const auto kind = static_cast<std::size_t>(name.kind);
        count.count += delta;
        count.kinds[kind] += delta;
        if (count.count <= 0)
            counts.remove(name.name);
        else if (delta > 0)
            count.details[kind] = name.detail;
    }
    for (const auto& [handler, hook] : line.registrations) {
        auto& registered = hooks[handler];
        registered.first += delta;
        if (registered.first <= 0)
            hooks.remove(handler);
        else if (delta > 0)
            registered.second = hook;
    }
}

void TScriptNames::Reset(QStringView text)
{
    ++version;
    perLine.clear();
    counts.clear();
    hooks.clear();
    qsizetype start = 0;
    while (true) {
        const qsizetype end = text.indexOf(u'\n', start);
        perLine.push_back(Kept(Read(text.mid(start, (end < 0 ? text.size() : end) - start))));
        Count(perLine.back(), 1);
        if (end < 0)
            break;
        start = end + 1;
    }
}

void TScriptNames::Replace(int first, int removed, std::span<const QStringView> lines)
{
    first = std::clamp(first, 0, Lines());
    removed = std::clamp(removed, 0, Lines() - first);
    for (int k = first; k < first + removed; ++k)
        Count(perLine[k], -1);
    std::vector<std::unique_ptr<TLine>> added;
    added.reserve(lines.size());
    for (const QStringView line : lines) {
        added.push_back(Kept(Read(line)));
        Count(added.back(), 1);
    }
    perLine.erase(perLine.begin() + first, perLine.begin() + first + removed);
    perLine.insert(
        perLine.begin() + first, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
}

std::vector<TCompletionItem> TScriptNames::Names(QStringView table) const
{
    std::vector<TCompletionItem> names;
    QSet<QString> seen;
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        const QString& name = it.key();
        QStringView rest = name;
        if (!table.isEmpty()) {
            if (name.size() <= table.size() + 1 || !name.startsWith(table)
                || (name[table.size()] != u'.' && name[table.size()] != u':'))
                continue;
            rest = QStringView(name).mid(table.size() + 1);
        }
        const qsizetype dot = std::min<qsizetype>(rest.indexOf(u'.') < 0 ? rest.size() : rest.indexOf(u'.'),
            rest.indexOf(u':') < 0 ? rest.size() : rest.indexOf(u':'));
        const QString part = rest.left(dot).toString();
        const bool whole = dot == rest.size();
        if (seen.contains(part)) {
            if (!whole)
                continue;
            // The name itself says more than the table it also heads.
            auto existing = std::find_if(
                names.begin(), names.end(), [&part](const TCompletionItem& item) { return item.text == part; });
            *existing = { part, it->Kind(), it->Detail(), true };
            continue;
        }
        seen.insert(part);
        if (whole)
            names.push_back({ part, it->Kind(), it->Detail(), true });
        else
            names.push_back({ part, CompletionKind::Global, QStringLiteral("table"), true });
    }
    return names;
}

QString TScriptNames::HookOf(QStringView handler) const
{
    const auto found = hooks.constFind(handler.toString());
    return found == hooks.constEnd() ? QString() : found->second;
}

std::vector<TOutlineEntry> TScriptNames::Outline() const
{
    std::vector<TOutlineEntry> entries;
    for (int k = 0; k < Lines(); ++k) {
        if (!perLine[static_cast<std::size_t>(k)])
            continue;
        const TLine& line = *perLine[static_cast<std::size_t>(k)];
        for (const TName& name : line.names) {
            if (name.kind == CompletionKind::Function)
                entries.push_back({ k, name.name, QStringLiteral("function ") + name.name + name.detail });
        }
        for (const auto& [handler, hook] : line.registrations)
            entries.push_back({ k, handler, QStringLiteral("hook \"%1\" \u2192 %2").arg(hook, handler) });
        for (const auto& [function, period] : line.timers)
            entries.push_back({ k, function, QStringLiteral("timer \u2192 %1 every %2 ms").arg(function, period) });
    }
    return entries;
}
