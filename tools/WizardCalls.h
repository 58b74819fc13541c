// Reading back the calls the wizards write: the addhook, timer or hudtxt call around the caret, taken
// apart into the fields of the wizard that writes it, so that the wizard can rewrite it in place.
//
// The fields hold source text as the wizard puts it between its quotes, never decoded values: a text
// holding the escape \169 reads back as \169, so that writing the fields again gives the same call.
// Where a field the wizard fills with a literal holds an expression, the call is still found, but
// refused with the reason in plain words.
#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <variant>

struct THookCallFields {
    QString hook;
    QString handler;
    bool operator==(const THookCallFields&) const = default;
};

struct TTimerCallFields {
    QString period; // milliseconds, as written
    QString function;
    QString argument; // any Lua expression, as written
    QString count;
    bool operator==(const TTimerCallFields&) const = default;
};

struct THudtxtCallFields {
    // The wizard's alignment choices, in the order of its list.
    enum class Align { Left, Center, Right };
    bool second = false; // hudtxt2, which takes the player first
    QString variable; // hudtxt2's player, a Lua expression spliced in with ..
    int id = 0;
    QString text;
    QString x;
    QString y;
    Align align = Align::Left;
    bool operator==(const THudtxtCallFields&) const = default;
};

struct TWizardCall {
    // The call's characters [start, end) in the script, from its name to its closing parenthesis.
    int start = 0;
    int end = 0;
    // Which wizard writes the call, and its fields; left as the wizard starts them when refused.
    std::variant<THookCallFields, TTimerCallFields, THudtxtCallFields> fields;
    // Why the fields could not be read; empty when they were.
    QString refusal;
};

// The innermost addhook(...), timer(...) or parse("hudtxt ...") call that holds the caret, from the
// first letter of its name up to just behind its closing parenthesis. Nothing when there is none, or
// the call is not closed.
std::optional<TWizardCall> ReadWizardCall(QStringView script, int caret);
