// What completion offers at the caret: where the caret stands (a name, a hook name in addhook's first
// string, a table's member), the names the script defines, kept line by line as it is edited, and the
// order in which candidates are offered for what is typed.
#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

enum class CompletionKind : uint8_t { Hook, Function, Local, Global, Field, Keyword, Library, Parameters };

struct TCompletionItem {
    QString text; // what is inserted
    CompletionKind kind = CompletionKind::Global;
    QString detail; // one line: a hook's or function's parameters, what a name is
    bool script = false; // the script defines it: ranks above the lists' names

    bool operator==(const TCompletionItem&) const = default;
};

// The kind's word, as the list shows it: "hook", "function", ...
QString CompletionKindName(CompletionKind kind);

struct TCompletionPlace {
    enum class Where : uint8_t {
        Nowhere, // in a comment, in a string other than addhook's first, or in a number
        Name, // a name, or nothing yet where one may start
        HookName, // inside the first string of addhook(
        Member, // after "table." or "table:"
    };
    Where where = Where::Nowhere;
    int start = 0; // where the typed prefix starts in the line
    QString prefix; // from start to the caret
    QString table; // for a member: the dotted name before the last "." or ":"
};

// Where the caret at `caret` (a position in `line`) stands, by the line alone.
TCompletionPlace CompletionPlaceAt(QStringView line, int caret);

// How well `text` matches what is typed: 3 for a prefix in the same case, 2 for a prefix in any case,
// 1 for the letters in order, 0 for no match. An empty prefix matches everything as a prefix.
int CompletionMatch(QStringView text, QStringView prefix);
// The matching items in their order: better matches first, then the script's own names, then by name.
// At most `limit`; an item equal to the prefix itself is left out (there is nothing to complete).
std::vector<TCompletionItem> FilterCompletions(
    std::span<const TCompletionItem> items, QStringView prefix, std::size_t limit = 500);

// One row of the script's outline: a function, a hook it registers, a timer it starts.
struct TOutlineEntry {
    int line = 0; // 0 for the first
    QString name; // what the outline's filter matches: the function, the hook's handler, the timer's function
    QString text; // as the outline shows it
    bool operator==(const TOutlineEntry&) const = default;
};

// The names a script defines, read line by line and kept per line, so that an edit re-reads only the lines
// it changed: functions (with their parameters), locals and parameters, globals assigned, fields
// ("zm.onhit"), and which handler each literal addhook registers for which hook.
class TScriptNames {
public:
    void Reset(QStringView text);
    // Lines [first, first + removed) were replaced by `lines`.
    void Replace(int first, int removed, std::span<const QStringView> lines);
    int Lines() const { return static_cast<int>(perLine.size()); }
    // Changes whenever the names (or what they say) may have changed; not for lines that define none.
    unsigned Version() const { return version; }

    // With `table` empty, the names that stand alone (the first part of a dotted one); else the members
    // of that table ("zm" gives "onhit" for "zm.onhit").
    std::vector<TCompletionItem> Names(QStringView table) const;
    // The hook the script registers `handler` for with a literal addhook, or empty.
    QString HookOf(QStringView handler) const;
    // The functions the script defines, the hooks it registers and the timers it starts, in line order.
    std::vector<TOutlineEntry> Outline() const;

private:
    struct TName {
        QString name; // may be dotted
        CompletionKind kind;
        QString detail;
    };
    struct TLine {
        std::vector<TName> names;
        std::vector<std::pair<QString, QString>> registrations; // handler, hook
        std::vector<std::pair<QString, QString>> timers; // function, period as written
    };
    // How many lines define a name, by kind: the kind shown is the first of function, local, field and
    // global that some line still gives it, whatever the order the lines were read in; the detail is
    // the one a line of that kind gave last.
    struct TCount {
        int count = 0;
        std::array<int, 8> kinds {};
        std::array<QString, 8> details;
        CompletionKind Kind() const;
        const QString& Detail() const { return details[static_cast<std::size_t>(Kind())]; }
    };
    static TLine Read(QStringView line);
    // The line's record, or none when it defines nothing.
    static std::unique_ptr<TLine> Kept(TLine line);
    void Count(const std::unique_ptr<TLine>& line, int delta);

    // Most lines define nothing: they hold no record at all.
    std::vector<std::unique_ptr<TLine>> perLine;
    unsigned version = 0;
    QHash<QString, TCount> counts;
    QHash<QString, std::pair<int, QString>> hooks; // handler: registrations, the last hook named
};
