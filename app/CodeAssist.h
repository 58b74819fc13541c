// Completion, calltips and the hook names' hover text in the script's text area. The names the script
// defines are read once when a script arrives and then line by line as lines change, never the whole
// text per key.
#pragma once

#include "highlight/Completion.h"
#include "resources/HookCatalogue.h"

#include <QStringList>

#include <functional>
#include <vector>

class TGadget;
class TTextareaClient;
struct TAreaChange;

class TCodeAssist {
public:
    using TReplace = std::function<bool(int pos, int length, const QString& text)>;

    TCodeAssist(TGadget& textarea, TTextareaClient& client, TReplace replace);
    ~TCodeAssist();
    TCodeAssist(const TCodeAssist&) = delete;
    TCodeAssist& operator=(const TCodeAssist&) = delete;

    // The keyword list (Lua's words and the game's API names) and the hooks the user added.
    void SetKeywords(const QStringList& keywords)
    {
        keywordList = keywords;
        taken = {};
    }
    void SetExtraHooks(std::vector<TGameHook> hooks)
    {
        extraHooks = std::move(hooks);
        taken = {};
    }

    // Ctrl+Space: the list for the caret's place, Enter inserting as Tab does. False when there is
    // nothing to complete there (a comment, a plain string, a number).
    bool Complete();
    // What the list offers now, in its order; empty while it is closed.
    const std::vector<TCompletionItem>& Offered() const { return offered; }
    const TScriptNames& Names() const { return names; }
    // The calltip's text for the caret's place (rich text), or empty.
    QString CalltipAtCaret() const;
    // What the pointer resting on a position shows beyond the marks: a hook name's category and parameters.
    QString HoverAt(int pos) const;

private:
    void Changed(const TAreaChange& change);
    void ReadChangedLines(const TAreaChange& change);
    // Opens the list (or refilters the open one) for the caret's place; `asked` for Ctrl+Space.
    bool Offer(bool asked);
    std::vector<TCompletionItem> Candidates(const TCompletionPlace& place) const;
    void Close();
    void Insert(int index);
    void ShowCalltip();
    // The calltip for the caret's place, and where the call's name starts (`at`), or empty.
    QString Calltip(int& at) const;
    const TGameHook* Hook(QStringView name) const;

    TGadget& textarea;
    TTextareaClient& client;
    TReplace replace;
    QStringList keywordList;
    std::vector<TGameHook> extraHooks;
    TScriptNames names;
    int subscription = 0;
    bool inserting = false;

    // The open list: where its prefix starts, on which line, and what it offers.
    bool open = false;
    bool asked = false;
    int placeLine = -1;
    TCompletionPlace place;
    std::vector<TCompletionItem> candidates;
    std::vector<TCompletionItem> offered;
    // What the candidates were taken for: a place of the same kind and table, with the same names,
    // takes them again without reading every name anew.
    struct TTaken {
        TCompletionPlace::Where where = TCompletionPlace::Where::Nowhere;
        QString table;
        unsigned names = 0;
    } taken;
    // A prefix nothing matched, and the line and place it was typed at: typing on into it finds nothing
    // either, so the list stays shut without a search.
    struct TUnmatched {
        int line = -1;
        int start = -1;
        QString prefix;
        unsigned names = 0;
    } unmatched;
};
