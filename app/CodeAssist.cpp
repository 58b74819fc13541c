#include "app/CodeAssist.h"

#include "app/TextareaClient.h"
#include "gui/Gadget.h"
#include "gui/ScriptArea.h"
#include "resources/LuaLibrary.h"

#include <QRegularExpression>
#include <QSet>

namespace {
// A change longer than this many lines reads the whole script again rather than line by line.
constexpr int ManyLines = 2000;
// The list shows at most this many; typing narrows it.
constexpr std::size_t Shown = 200;

bool IsNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

TScriptArea* Area(TGadget& textarea)
{
    return ScriptArea(&textarea);
}

const QStringList& LuaWords()
{
    static const QStringList words { "and", "break", "do", "else", "elseif", "end", "false", "for", "function", "if",
        "in", "local", "nil", "not", "or", "repeat", "return", "then", "true", "until", "while" };
    return words;
}

// The innermost call whose "(" is still open before `caret` in `line`, with the index of the argument
// the caret is in and the text of the arguments before it; false when there is none. Strings and
// comments are skipped.
struct TOpenCall {
    QString name;
    int open = 0; // where the callee's name starts
    int argument = 0;
    QString firstArgument; // as written
};
bool OpenCallAt(QStringView line, int caret, TOpenCall& call)
{
    struct TParen {
        int at;
        int commas;
        int firstComma;
    };
    std::vector<TParen> parens;
    QChar quote;
    for (int i = 0; i < caret && i < line.size(); ++i) {
        const QChar c = line[i];
        if (!quote.isNull()) {
            if (c == u'\\')
                ++i;
            else if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'-' && i + 1 < line.size() && line[i + 1] == u'-')
            return false; // the caret is in a comment
        if (c == u'"' || c == u'\'')
            quote = c;
        else if (c == u'(' || c == u'{' || c == u'[')
            parens.push_back({ i, 0, -1 });
        else if ((c == u')' || c == u'}' || c == u']') && !parens.empty())
            parens.pop_back();
        else if (c == u',' && !parens.empty() && ++parens.back().commas == 1)
            parens.back().firstComma = i;
    }
    if (!quote.isNull() && parens.empty())
        return false;
    while (!parens.empty() && line[parens.back().at] != u'(')
        parens.pop_back(); // inside a table constructor or an index, which take no calltip
    if (parens.empty())
        return false;
    const TParen& paren = parens.back();
    int end = paren.at;
    while (end > 0 && line[end - 1].isSpace())
        --end;
    int start = end;
    while (start > 0 && (IsNamePart(line[start - 1]) || line[start - 1] == u'.' || line[start - 1] == u':'))
        --start;
    if (start == end)
        return false;
    call.name = line.mid(start, end - start).toString();
    call.open = start;
    call.argument = paren.commas;
    const int firstEnd = paren.firstComma >= 0 ? paren.firstComma : caret;
    call.firstArgument = line.mid(paren.at + 1, firstEnd - paren.at - 1).trimmed().toString();
    return true;
}

QString Unquoted(const QString& literal)
{
    if (literal.size() >= 2 && (literal.front() == u'"' || literal.front() == u'\'')
        && literal.back() == literal.front())
        return literal.mid(1, literal.size() - 2);
    return QString();
}
} // namespace

TCodeAssist::TCodeAssist(TGadget& textarea, TTextareaClient& client, TReplace replace)
    : textarea(textarea)
    , client(client)
    , replace(std::move(replace))
{
    TScriptArea* area = Area(textarea);
    subscription = area->Subscribe([this](const TAreaChange& change) { Changed(change); });
    area->OnCompletionChosen([this](int index) { Insert(index); });
    area->SetTooltipSource([this](int pos) { return HoverAt(pos); });
    names.Reset(client.Text(0, client.Length()));
}

TCodeAssist::~TCodeAssist()
{
    if (TScriptArea* area = Area(textarea)) {
        area->Unsubscribe(subscription);
        area->OnCompletionChosen(nullptr);
        area->SetTooltipSource(nullptr);
    }
}

const TGameHook* TCodeAssist::Hook(QStringView name) const
{
    if (const TGameHook* hook = FindHook(name))
        return hook;
    for (const TGameHook& hook : extraHooks) {
        if (hook.name == name)
            return &hook;
    }
    return nullptr;
}

void TCodeAssist::ReadChangedLines(const TAreaChange& change)
{
    const int lines = client.LastLine() + 1;
    const int first = client.LineOf(change.span.start);
    const int lastNew = client.LineOf(change.span.newEnd);
    const int removed = lastNew - first + 1 - (lines - names.Lines());
    if (lastNew - first > ManyLines || removed < 0 || first + removed > names.Lines()) {
        names.Reset(client.Text(0, client.Length()));
        return;
    }
    std::vector<QString> texts;
    for (int line = first; line <= lastNew; ++line) {
        QString text = client.LineText(line);
        if (text.endsWith(u'\n'))
            text.chop(1); // the line's break is no part of what it says
        texts.push_back(std::move(text));
    }
    std::vector<QStringView> views(texts.begin(), texts.end());
    names.Replace(first, removed, views);
}

void TCodeAssist::Changed(const TAreaChange& change)
{
    if (change.text)
        ReadChangedLines(change);
    if (inserting)
        return;
    TScriptArea* area = Area(textarea);
    if (open && !area->CompletionsShown())
        open = false; // closed by Escape, a click, or Enter in a list that opened by itself
    const int caret = textarea.GetCursorPos(TextUnit::Chars);
    const bool typed = change.text && change.span.oldEnd == change.span.start
        && change.span.newEnd == change.span.start + 1 && caret == change.span.newEnd
        && textarea.GetSelectionLength(TextUnit::Chars) == 0;
    if (open) {
        Offer(asked);
    } else if (typed) {
        const QChar c = client.Text(change.span.start, 1).at(0);
        const int line = client.LineOf(caret);
        const QString text = client.LineText(line);
        const TCompletionPlace now = CompletionPlaceAt(text, caret - client.LineStart(line));
        static const QRegularExpression head(QStringLiteral("function\\s+([A-Za-z_][\\w.:]*)\\s*\\($"));
        if ((now.where == TCompletionPlace::Where::Name || now.where == TCompletionPlace::Where::Member)
            && now.prefix.size() >= 2 && IsNamePart(c)) {
            Offer(false);
        } else if (now.where == TCompletionPlace::Where::HookName && now.prefix.isEmpty()
            && (c == u'"' || c == u'\'')) {
            Offer(false);
        } else if (c == u'(') {
            // A handler's head: the parameters of the hook the script registers it for.
            const QRegularExpressionMatch match = head.match(QStringView(text).left(caret - client.LineStart(line)));
            const TGameHook* hook = match.hasMatch() ? Hook(names.HookOf(match.captured(1))) : nullptr;
            if (hook) {
                offered = { { hook->ParameterList() + QLatin1Char(')'), CompletionKind::Parameters,
                    QStringLiteral("as the hook \"%1\" passes them").arg(hook->name), false } };
                candidates = offered;
                taken = {}; // these are no names of the script: the next list takes its own
                place = now;
                place.where = TCompletionPlace::Where::Name;
                place.start = caret - client.LineStart(line);
                place.prefix.clear();
                placeLine = line;
                open = true;
                asked = false;
                area->ShowCompletions(
                    caret, { { offered[0].text, CompletionKindName(offered[0].kind), offered[0].detail } }, false);
            }
        }
    }
    ShowCalltip();
}

bool TCodeAssist::Complete()
{
    return Offer(true);
}

std::vector<TCompletionItem> TCodeAssist::Candidates(const TCompletionPlace& at) const
{
    std::vector<TCompletionItem> all;
    switch (at.where) {
    case TCompletionPlace::Where::HookName: {
        const auto add = [&all](const TGameHook& hook) {
            all.push_back({ hook.name, CompletionKind::Hook,
                QLatin1Char('(') + hook.ParameterList() + QStringLiteral(")  ") + hook.category, false });
        };
        for (const TGameHook& hook : HookCatalogue())
            add(hook);
        for (const TGameHook& hook : extraHooks) {
            if (!FindHook(hook.name))
                add(hook);
        }
        break;
    }
    case TCompletionPlace::Where::Member: {
        all = names.Names(at.table);
        if (LibraryTables().contains(at.table)) {
            const QString prefix = at.table + QLatin1Char('.');
            for (const TLibraryFunction& function : LuaLibrary()) {
                if (function.name.startsWith(prefix))
                    all.push_back({ function.name.mid(prefix.size()), CompletionKind::Library,
                        QLatin1Char('(') + function.parameters.join(QStringLiteral(", ")) + QLatin1Char(')'), false });
            }
        }
        break;
    }
    case TCompletionPlace::Where::Name: {
        all = names.Names({});
        QSet<QString> defined;
        for (const TCompletionItem& item : all)
            defined.insert(item.text);
        for (const QString& word : keywordList) {
            if (word.isEmpty() || defined.contains(word))
                continue;
            defined.insert(word);
            if (const TLibraryFunction* function = FindLibraryFunction(word))
                all.push_back({ word, CompletionKind::Library,
                    QLatin1Char('(') + function->parameters.join(QStringLiteral(", ")) + QLatin1Char(')'), false });
            else if (LuaWords().contains(word))
                all.push_back({ word, CompletionKind::Keyword, QStringLiteral("Lua"), false });
            else
                all.push_back({ word, CompletionKind::Keyword, QStringLiteral("Lua or the game"), false });
        }
        for (const QString& word : LuaWords()) {
            if (!defined.contains(word))
                all.push_back({ word, CompletionKind::Keyword, QStringLiteral("Lua"), false });
        }
        break;
    }
    case TCompletionPlace::Where::Nowhere:
        break;
    }
    return all;
}

bool TCodeAssist::Offer(bool byRequest)
{
    if (open && !Area(textarea)->CompletionsShown())
        open = false; // closed meanwhile (Escape, a click, another window)
    const int caret = textarea.GetCursorPos(TextUnit::Chars);
    if (textarea.GetSelectionLength(TextUnit::Chars) != 0) {
        Close();
        return false;
    }
    const int line = client.LineOf(caret);
    const int lineStart = client.LineStart(line);
    const TCompletionPlace now = CompletionPlaceAt(client.LineText(line), caret - lineStart);
    const bool same
        = open && line == placeLine && now.where == place.where && now.start == place.start && now.table == place.table;
    if (now.where == TCompletionPlace::Where::Nowhere || (open && !same && !byRequest)
        || (!byRequest && now.prefix.isEmpty() && now.where != TCompletionPlace::Where::HookName)) {
        Close();
        return false;
    }
    if (!byRequest && line == unmatched.line && now.start == unmatched.start && names.Version() == unmatched.names
        && now.prefix.startsWith(unmatched.prefix)) {
        Close();
        return false;
    }
    if (!same && (now.where != taken.where || now.table != taken.table || names.Version() != taken.names)) {
        candidates = Candidates(now);
        taken = { now.where, now.table, names.Version() };
    }
    offered = FilterCompletions(candidates, now.prefix, Shown);
    if (offered.empty()) {
        unmatched = { line, now.start, now.prefix, names.Version() };
        Close();
        return false;
    }
    place = now;
    placeLine = line;
    open = true;
    asked = byRequest;
    std::vector<TPopupItem> items;
    items.reserve(offered.size());
    for (const TCompletionItem& item : offered)
        items.push_back({ item.text, CompletionKindName(item.kind), item.detail });
    Area(textarea)->ShowCompletions(lineStart + now.start, items, byRequest);
    return true;
}

void TCodeAssist::Close()
{
    open = false;
    offered.clear();
    Area(textarea)->HideCompletions();
}

void TCodeAssist::Insert(int index)
{
    if (!open || index < 0 || index >= static_cast<int>(offered.size()))
        return;
    const QString text = offered[static_cast<std::size_t>(index)].text;
    const int caret = textarea.GetCursorPos(TextUnit::Chars);
    const int start = client.LineStart(placeLine) + place.start;
    Close();
    if (start > caret)
        return;
    inserting = true;
    if (replace(start, caret - start, text))
        textarea.SetSelection(start + static_cast<int>(text.size()), 0, TextUnit::Chars);
    inserting = false;
    ShowCalltip();
}

QString TCodeAssist::CalltipAtCaret() const
{
    int at = 0;
    return Calltip(at);
}

QString TCodeAssist::Calltip(int& at) const
{
    const int caret = textarea.GetCursorPos(TextUnit::Chars);
    const int line = client.LineOf(caret);
    TOpenCall call;
    if (!OpenCallAt(client.LineText(line), caret - client.LineStart(line), call))
        return QString();
    at = client.LineStart(line) + call.open;
    const TLibraryFunction* function = FindLibraryFunction(call.name);
    if (!function)
        return QString();
    QStringList parameters;
    for (int k = 0; k < function->parameters.size(); ++k) {
        const QString parameter = function->parameters[k].toHtmlEscaped();
        const bool current = k == call.argument
            || (k == function->parameters.size() - 1 && call.argument > k
                && function->parameters[k] == QStringLiteral("..."));
        parameters << (current ? QStringLiteral("<b>") + parameter + QStringLiteral("</b>") : parameter);
    }
    QString tip
        = function->name.toHtmlEscaped() + QLatin1Char('(') + parameters.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (call.name == QStringLiteral("addhook")) {
        if (const TGameHook* hook = Hook(Unquoted(call.firstArgument)); hook && call.argument >= 1)
            tip += QStringLiteral("&nbsp;&nbsp;handler: ")
                + (hook->name + QLatin1Char('(') + hook->ParameterList() + QLatin1Char(')')).toHtmlEscaped();
    }
    return tip;
}

void TCodeAssist::ShowCalltip()
{
    TScriptArea* area = Area(textarea);
    int at = 0;
    const QString tip = Calltip(at);
    if (tip.isEmpty())
        area->HideCalltip();
    else
        area->ShowCalltip(at, tip);
}

QString TCodeAssist::HoverAt(int pos) const
{
    const int line = client.LineOf(pos);
    const QString text = client.LineText(line);
    const int column = pos - client.LineStart(line);
    if (column < 0 || column >= text.size() || !IsNamePart(text[column]))
        return QString();
    int end = column;
    while (end < text.size() && IsNamePart(text[end]))
        ++end;
    const TCompletionPlace at = CompletionPlaceAt(text, end);
    if (at.where != TCompletionPlace::Where::HookName)
        return QString();
    const TGameHook* hook = Hook(QStringView(text).mid(at.start, end - at.start));
    if (!hook)
        return QString();
    return QStringLiteral("Hook \"%1\" (%2): the handler takes %1(%3)")
        .arg(hook->name, hook->category, hook->ParameterList());
}
