// The reader walks the script with a small Lua 5.1 tokenizer (strings, long brackets and comments
// understood, so that a parenthesis in them counts for nothing) up to the caret, keeping the open
// brackets on a stack; the wizard calls among them that close at or behind the caret hold it. Each,
// innermost first, is then split into its arguments and read.
//
// A hudtxt command is read as the console sees it: the pieces of the concatenation become one run of
// characters, each remembering how the source spells it, with hudtxt2's player as a hole in it. The
// command's words are then cut from that run at its blanks.
#include "tools/WizardCalls.h"

#include "resources/HookCatalogue.h"

#include <QRegularExpression>

#include <vector>

namespace {
enum class TokenKind { Name, Number, String, LongString, Sign, Open, Close, End };

struct TToken {
    TokenKind kind = TokenKind::End;
    int start = 0;
    int end = 0;
};

bool IsNameStart(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool IsNameChar(QChar c)
{
    return IsNameStart(c) || (c >= u'0' && c <= u'9');
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The tokens of a Lua text one by one, comments and white space skipped.
class TTokenizer {
public:
    TTokenizer(QStringView text, int from)
        : s(text)
        , at(from)
    {
    }

    TToken Next()
    {
        SkipBlanksAndComments();
        const int start = at;
        if (at >= s.size())
            return { TokenKind::End, start, start };
        const QChar c = s[at];
        TokenKind kind = TokenKind::Sign;
        if (IsNameStart(c)) {
            while (at < s.size() && IsNameChar(s[at]))
                ++at;
            kind = TokenKind::Name;
        } else if (IsDigit(c) || (c == u'.' && IsDigit(Peek(1)))) {
            SkipNumber();
            kind = TokenKind::Number;
        } else if (c == u'"' || c == u'\'') {
            SkipQuoted(c);
            kind = TokenKind::String;
        } else if (c == u'[' && LongBracketLevel() >= 0) {
            SkipLongBracket();
            kind = TokenKind::LongString;
        } else if (c == u'(' || c == u'[' || c == u'{') {
            ++at;
            kind = TokenKind::Open;
        } else if (c == u')' || c == u']' || c == u'}') {
            ++at;
            kind = TokenKind::Close;
        } else if (s.mid(at, 3) == u"...") {
            at += 3;
        } else if (s.mid(at, 2) == u".." || (QStringView(u"=~<>").contains(c) && Peek(1) == u'=')) {
            at += 2;
        } else {
            ++at;
        }
        return { kind, start, at };
    }

private:
    QChar Peek(int ahead) const { return at + ahead < s.size() ? s[at + ahead] : QChar(); }

    void SkipBlanksAndComments()
    {
        while (at < s.size()) {
            if (s[at].isSpace()) {
                ++at;
            } else if (s.mid(at, 2) == u"--") {
                at += 2;
                if (Peek(0) == u'[' && LongBracketLevel() >= 0) {
                    SkipLongBracket();
                } else {
                    while (at < s.size() && s[at] != u'\n')
                        ++at;
                }
            } else {
                return;
            }
        }
    }

    void SkipNumber()
    {
        while (at < s.size()) {
            const QChar c = s[at];
            if ((c == u'e' || c == u'E') && (Peek(1) == u'+' || Peek(1) == u'-'))
                at += 2;
            else if (IsNameChar(c) || c == u'.')
                ++at;
            else
                return;
        }
    }

    // An unfinished string ends with its line, as the Lua compiler gives up there.
    void SkipQuoted(QChar quote)
    {
        ++at;
        while (at < s.size() && s[at] != u'\n') {
            const QChar c = s[at++];
            if (c == quote)
                return;
            if (c == u'\\' && at < s.size())
                ++at;
        }
    }

    // The number of = between [ and [ at `at`, or -1 when no long bracket opens there.
    int LongBracketLevel() const
    {
        int k = at + 1;
        while (k < s.size() && s[k] == u'=')
            ++k;
        return k < s.size() && s[k] == u'[' ? k - at - 1 : -1;
    }

    // An unclosed long bracket runs to the end of the text.
    void SkipLongBracket()
    {
        const int level = LongBracketLevel();
        const QString close = u']' + QString(level, u'=') + u']';
        const qsizetype found = s.indexOf(close, at + level + 2);
        at = found < 0 ? int(s.size()) : int(found + close.size());
    }

    QStringView s;
    int at;
};

// A call the reader may take apart: its name and the tokens of each argument.
struct TCallTokens {
    QStringView name;
    std::vector<std::vector<TToken>> arguments;
};

TCallTokens SplitCall(QStringView script, int start, int end)
{
    TTokenizer tokens(script.first(end), start);
    TCallTokens call;
    const TToken name = tokens.Next();
    call.name = script.mid(name.start, name.end - name.start);
    tokens.Next(); // the opening parenthesis
    int depth = 0;
    std::vector<TToken> argument;
    for (TToken token = tokens.Next(); token.kind != TokenKind::End; token = tokens.Next()) {
        if (token.kind == TokenKind::Close && depth == 0)
            break;
        if (depth == 0 && script[token.start] == u',' && token.kind == TokenKind::Sign) {
            call.arguments.push_back(std::move(argument));
            argument.clear();
            continue;
        }
        depth += token.kind == TokenKind::Open ? 1 : token.kind == TokenKind::Close ? -1 : 0;
        argument.push_back(token);
    }
    if (!argument.empty() || !call.arguments.empty())
        call.arguments.push_back(std::move(argument));
    return call;
}

// The source of an argument, from its first token to its last.
QString SourceOf(QStringView script, const std::vector<TToken>& tokens)
{
    if (tokens.empty())
        return {};
    return script.mid(tokens.front().start, tokens.back().end - tokens.front().start).toString();
}

// Source quoted in a reason, cut short when long.
QString Quoted(const QString& source)
{
    constexpr int Longest = 40;
    QString shown = source.simplified();
    if (shown.size() > Longest)
        shown = shown.first(Longest - 1) + u'\u2026';
    return shown;
}

QString ExpressionReason(const QString& field, const QString& source, const QString& expected)
{
    if (source.isEmpty())
        return QStringLiteral("The %1 is missing").arg(field);
    return QStringLiteral("The %1 is an expression (%2), not %3").arg(field, Quoted(source), expected);
}

// One character of a string literal's value, with the spelling that gives it between double quotes.
struct TUnit {
    QChar value;
    QString spelling;
    bool hole = false; // hudtxt2's player, spliced in with .. (its spelling is its source)
};

// The characters of a string token. A quote of the other kind and whatever a long bracket holds are
// spelled anew, so that they can stand between double quotes.
std::vector<TUnit> UnitsOf(QStringView script, const TToken& token)
{
    std::vector<TUnit> units;
    const QStringView source = script.mid(token.start, token.end - token.start);
    if (token.kind == TokenKind::LongString) {
        const int open = int(source.indexOf(u'[', 1)) + 1;
        int from = open;
        if (from < source.size() && source[from] == u'\n')
            ++from;
        const int to = int(source.size()) - open;
        for (int k = from; k < to; ++k) {
            const QChar c = source[k];
            QString spelling = c == u'\n' ? QStringLiteral("\\n") : QString(c);
            if (c == u'"' || c == u'\\')
                spelling.prepend(u'\\');
            units.push_back({ c, spelling });
        }
        return units;
    }
    const QChar quote = source[0];
    const int to = source.size() > 1 && source.back() == quote ? int(source.size()) - 1 : int(source.size());
    for (int k = 1; k < to;) {
        const QChar c = source[k];
        if (c != u'\\' || k + 1 >= to) {
            units.push_back({ c, c == u'"' && quote != u'"' ? QStringLiteral("\\\"") : QString(c) });
            ++k;
            continue;
        }
        int next = k + 2;
        QChar value = source[k + 1];
        if (IsDigit(value)) {
            while (next < to && next < k + 4 && IsDigit(source[next]))
                ++next;
            value = QChar(source.mid(k + 1, next - k - 1).toInt());
        } else {
            static const QString escapes = QStringLiteral("a\ab\bf\fn\nr\rt\tv\v");
            const qsizetype found = escapes.indexOf(value);
            if (found >= 0 && found % 2 == 0)
                value = escapes[found + 1];
        }
        units.push_back({ value, source.mid(k, next - k).toString() });
        k = next;
    }
    return units;
}

// A name in quotes as the wizard writes it: the spelling between double quotes; none for anything else.
std::optional<QString> QuotedName(QStringView script, const std::vector<TToken>& argument)
{
    if (argument.size() != 1 || (argument[0].kind != TokenKind::String && argument[0].kind != TokenKind::LongString))
        return std::nullopt;
    QString spelling;
    for (const TUnit& unit : UnitsOf(script, argument[0]))
        spelling += unit.spelling;
    return spelling;
}

// The field read from an argument, or why it cannot be.
struct TField {
    QString text;
    QString refusal;
};

TField NameField(QStringView script, const std::vector<TToken>& argument, const QString& field)
{
    if (const std::optional<QString> name = QuotedName(script, argument))
        return { *name, {} };
    return { {}, ExpressionReason(field, SourceOf(script, argument), QStringLiteral("a name in quotes")) };
}

TField NumberField(QStringView script, const std::vector<TToken>& argument, const QString& field, bool whole)
{
    static const QRegularExpression real(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
    static const QRegularExpression integer(QStringLiteral("^\\d+$"));
    const QString source = SourceOf(script, argument);
    if (argument.size() == 1 && argument[0].kind == TokenKind::Number
        && (whole ? integer : real).match(source).hasMatch())
        return { source, {} };
    return { {},
        ExpressionReason(field, source, whole ? QStringLiteral("a whole number") : QStringLiteral("a number")) };
}

QString ArgumentCountReason(QStringView name, size_t count, const QString& expected)
{
    return QStringLiteral("%1 has %2 arguments here; the wizard writes %3").arg(name).arg(count).arg(expected);
}

void ReadHook(QStringView script, const TCallTokens& call, TWizardCall& read)
{
    if (call.arguments.size() != 2) {
        read.refusal
            = ArgumentCountReason(call.name, call.arguments.size(), QStringLiteral("two, the hook and its handler"));
        return;
    }
    const TField hook = NameField(script, call.arguments[0], QStringLiteral("hook"));
    const TField handler = NameField(script, call.arguments[1], QStringLiteral("handler"));
    if (!hook.refusal.isEmpty() || !handler.refusal.isEmpty()) {
        read.refusal = hook.refusal.isEmpty() ? handler.refusal : hook.refusal;
        return;
    }
    if (!FindHook(hook.text)) {
        read.refusal = QStringLiteral("\"%1\" is not one of the game's hooks").arg(Quoted(hook.text));
        return;
    }
    read.fields = THookCallFields { hook.text, handler.text };
}

void ReadTimer(QStringView script, const TCallTokens& call, TWizardCall& read)
{
    read.fields = TTimerCallFields {};
    const size_t count = call.arguments.size();
    if (count < 2 || count > 4) {
        read.refusal = ArgumentCountReason(call.name, count, QStringLiteral("four"));
        return;
    }
    const TField period = NumberField(script, call.arguments[0], QStringLiteral("period"), false);
    const TField function = NameField(script, call.arguments[1], QStringLiteral("function"));
    // The game passes an empty text and calls once when the call leaves them out.
    TField argument { QStringLiteral("\"\""), {} };
    if (count > 2) {
        argument.text = SourceOf(script, call.arguments[2]);
        if (argument.text.isEmpty() || argument.text.contains(u'\n'))
            argument = { {}, QStringLiteral("The argument is empty or runs over several lines") };
    }
    const TField times
        = count > 3 ? NumberField(script, call.arguments[3], QStringLiteral("call count"), true) : TField { "1", {} };
    for (const TField* field : std::initializer_list<const TField*> { &period, &function, &argument, &times }) {
        if (!field->refusal.isEmpty()) {
            read.refusal = field->refusal;
            return;
        }
    }
    read.fields = TTimerCallFields { period.text, function.text, argument.text, times.text };
}

// The console command of a parse call: its string pieces' characters, the other pieces as holes.
std::vector<TUnit> CommandUnits(QStringView script, const std::vector<TToken>& argument)
{
    std::vector<TUnit> units;
    std::vector<TToken> piece;
    const auto flush = [&] {
        if (piece.size() == 1 && (piece[0].kind == TokenKind::String || piece[0].kind == TokenKind::LongString)) {
            for (TUnit& unit : UnitsOf(script, piece[0]))
                units.push_back(std::move(unit));
        } else {
            units.push_back({ QChar(), SourceOf(script, piece), true });
        }
        piece.clear();
    };
    int depth = 0;
    for (const TToken& token : argument) {
        if (depth == 0 && token.kind == TokenKind::Sign && script.mid(token.start, token.end - token.start) == u"..") {
            flush();
            continue;
        }
        depth += token.kind == TokenKind::Open ? 1 : token.kind == TokenKind::Close ? -1 : 0;
        piece.push_back(token);
    }
    flush();
    return units;
}

// The words of a console command, cut at blanks; a quoted word keeps the spelling between its quotes.
struct TWord {
    QString value;
    QString spelling;
    bool hole = false; // holds a spliced-in expression
    int parts = 0;
    // The word is the spliced-in expression alone.
    bool WholeHole() const { return hole && parts == 1; }
};

std::vector<TWord> CommandWords(const std::vector<TUnit>& units)
{
    std::vector<TWord> words;
    size_t k = 0;
    while (k < units.size()) {
        if (!units[k].hole && units[k].value == u' ') {
            ++k;
            continue;
        }
        TWord word;
        const bool quoted = !units[k].hole && units[k].value == u'"';
        if (quoted)
            ++k;
        for (; k < units.size(); ++k) {
            const TUnit& unit = units[k];
            if (!unit.hole && unit.value == (quoted ? u'"' : u' '))
                break;
            word.value += unit.value;
            word.spelling += unit.spelling;
            word.hole = word.hole || unit.hole;
            ++word.parts;
        }
        if (quoted && k < units.size())
            ++k;
        words.push_back(std::move(word));
    }
    return words;
}

// A parse call is the HUD wizard's when its command starts with hudtxt or hudtxt2; the others are not
// looked at. False for those.
bool ReadHudtxt(QStringView script, const TCallTokens& call, TWizardCall& read)
{
    if (call.arguments.empty())
        return false;
    const std::vector<TWord> words = CommandWords(CommandUnits(script, call.arguments[0]));
    if (words.empty() || words[0].hole || (words[0].value != u"hudtxt" && words[0].value != u"hudtxt2"))
        return false;
    THudtxtCallFields fields;
    read.fields = fields;
    if (call.arguments.size() != 1) {
        read.refusal = ArgumentCountReason(call.name, call.arguments.size(), QStringLiteral("one"));
        return true;
    }
    fields.second = words[0].value == u"hudtxt2";
    size_t next = 1;
    const auto take = [&](const QString& field, const QRegularExpression& form) -> std::optional<QString> {
        if (next >= words.size()) {
            read.refusal = QStringLiteral("The command ends before its %1").arg(field);
            return std::nullopt;
        }
        const TWord& word = words[next++];
        if (word.hole) {
            read.refusal = ExpressionReason(field, word.spelling, QStringLiteral("a number"));
            return std::nullopt;
        }
        if (!form.match(word.value).hasMatch()) {
            read.refusal = QStringLiteral("The %1 %2 is not one the wizard writes").arg(field, Quoted(word.value));
            return std::nullopt;
        }
        return word.value;
    };
    static const QRegularExpression any(QStringLiteral("^"));
    static const QRegularExpression id(QStringLiteral("^([0-9]|[1-4][0-9])$"));
    static const QRegularExpression position(QStringLiteral("^-?\\d+$"));
    static const QRegularExpression align(QStringLiteral("^(0|1|-1)$"));
    if (fields.second) {
        if (next >= words.size()) {
            read.refusal = QStringLiteral("The command ends before its player");
            return true;
        }
        const TWord& player = words[next++];
        if (player.hole && !player.WholeHole()) {
            read.refusal = QStringLiteral("The player %1 runs into the text beside it").arg(Quoted(player.spelling));
            return true;
        }
        fields.variable = player.spelling;
    }
    const std::optional<QString> idText = take(QStringLiteral("id"), id);
    if (!idText)
        return true;
    fields.id = idText->toInt();
    if (next < words.size() && words[next].hole) {
        read.refusal
            = ExpressionReason(QStringLiteral("text"), words[next].spelling, QStringLiteral("a text in quotes"));
        return true;
    }
    if (!take(QStringLiteral("text"), any))
        return true;
    fields.text = words[next - 1].spelling;
    const std::optional<QString> x = take(QStringLiteral("X position"), position);
    const std::optional<QString> y = x ? take(QStringLiteral("Y position"), position) : std::nullopt;
    if (!y)
        return true;
    fields.x = *x;
    fields.y = *y;
    if (next < words.size()) {
        const std::optional<QString> alignment = take(QStringLiteral("alignment"), align);
        if (!alignment)
            return true;
        fields.align = *alignment == u"0" ? THudtxtCallFields::Align::Left
            : *alignment == u"1"          ? THudtxtCallFields::Align::Center
                                          : THudtxtCallFields::Align::Right;
    }
    if (next < words.size()) {
        read.refusal = QStringLiteral("The command goes on past its alignment (%1)").arg(Quoted(words[next].spelling));
        return true;
    }
    read.fields = fields;
    return true;
}

bool IsWizardName(QStringView name)
{
    return name == u"addhook" || name == u"timer" || name == u"parse";
}

// The calls of wizard names around the caret, innermost first, as [start, end) ranges.
std::vector<std::pair<int, int>> CallsAround(QStringView script, int caret)
{
    // Per open bracket: where its call's name starts when it opens a wizard call, else -1.
    std::vector<int> open;
    std::vector<std::pair<int, int>> calls;
    int openCallsBeforeCaret = 0;
    TTokenizer tokens(script, 0);
    TToken before; // the token before the previous one
    TToken previous;
    const auto text = [&](const TToken& token) { return script.mid(token.start, token.end - token.start); };
    for (TToken token = tokens.Next(); token.kind != TokenKind::End; token = tokens.Next()) {
        int callStart = -1;
        if (token.kind == TokenKind::Open) {
            // A method or field of that name, or a function of that name being defined, is no call of
            // the game's function.
            const bool named = previous.kind == TokenKind::Name && IsWizardName(text(previous));
            const QStringView ahead = before.kind == TokenKind::End ? QStringView() : text(before);
            if (script[token.start] == u'(' && named && ahead != u"." && ahead != u":" && ahead != u"function")
                callStart = previous.start;
        }
        const bool holdsCaret = callStart >= 0 && callStart <= caret;
        if (token.start > caret && openCallsBeforeCaret == 0 && !holdsCaret)
            break;
        if (token.kind == TokenKind::Open) {
            openCallsBeforeCaret += holdsCaret ? 1 : 0;
            open.push_back(callStart);
        } else if (token.kind == TokenKind::Close && !open.empty()) {
            const int closed = open.back();
            open.pop_back();
            if (closed >= 0 && closed <= caret) {
                --openCallsBeforeCaret;
                if (token.end >= caret)
                    calls.emplace_back(closed, token.end);
            }
        }
        before = previous;
        previous = token;
    }
    return calls;
}
} // namespace

std::optional<TWizardCall> ReadWizardCall(QStringView script, int caret)
{
    for (const auto& [start, end] : CallsAround(script, caret)) {
        const TCallTokens call = SplitCall(script, start, end);
        TWizardCall read;
        read.start = start;
        read.end = end;
        if (call.name == u"addhook")
            ReadHook(script, call, read);
        else if (call.name == u"timer")
            ReadTimer(script, call, read);
        else if (!ReadHudtxt(script, call, read))
            continue;
        if (!read.refusal.isEmpty())
            read.refusal += QLatin1Char('.');
        return read;
    }
    return std::nullopt;
}
