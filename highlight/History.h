// The editor's own undo history for the script's text area: one step per recorded edit; undone steps
// wait on a redo list until a new edit. With typing grouped, a run of typed (or deleted) characters
// is one step.
#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <vector>

class TTextClient;

// One recorded edit, stored as the way back: undo removes Sel characters at Pos, puts Text there and
// selects SelLen characters from SelPos. Positions and lengths are text-area characters.
struct TAction {
    int Pos = 0;
    int Sel = 0;
    QString Text;
    int SelPos = 0;
    int SelLen = 0;

    // `recolourLine` is called for each line the restored range touches, first to last.
    // True when the text changed (an action outside the text only puts the caret back).
    bool Undo(TTextClient& textarea, const std::function<void(int line)>& recolourLine) const;
};

// What a recorded edit was, as far as grouping typing cares: a typed character, one character that
// Backspace or Delete takes, or anything else, which is always a step of its own.
enum class EditKind { Other, Typing, Backspace, Delete };

class THistory {
public:
    // A run of one kind is broken by a pause this long.
    static constexpr std::chrono::milliseconds GroupPause { 1000 };

    // `recolourLine` re-colours one line of the text area after an undo step (the application passes
    // its UpdateTextareaLine); it may be empty.
    explicit THistory(std::function<void(int line)> recolourLine = {});

    // Undoes the most recent action on `textarea`; nothing at all when there is none. True when the
    // text changed.
    bool Undo(TTextClient& textarea);
    // Applies the most recently undone step again: its text, the selection as it stood when the step
    // was undone, and the lines it touches re-coloured. True when the text changed.
    bool Redo(TTextClient& textarea);
    // Records an edit that is about to be applied, and forgets every undone step. The text area is not
    // used; it keeps the call shaped like the other history calls.
    // With typing grouped, an edit of a typing or deleting kind joins the last step when it carries on
    // from it: same kind, where the caret stood after it, within GroupPause, no line break.
    void AddAction(TTextClient& textarea, int pos, int sel, const QString& text, int selPos, int selLen,
        EditKind kind = EditKind::Other);
    void Clear();

    // Off, every recorded edit is its own step.
    void SetGroupTyping(bool on);
    bool GroupsTyping() const { return groupTyping; }
    // The caret moved without an edit: what is typed next starts a step of its own.
    void EndGroup() { openGroup = EditKind::Other; }
    // The clock pauses are measured with; tests give their own.
    void SetClock(std::function<std::chrono::milliseconds()> now);

    int Count() const { return static_cast<int>(undoSteps.size()); }
    int RedoCount() const { return static_cast<int>(redoSteps.size()); }
    // The action the next Undo reverses; null when the history is empty.
    const TAction* Last() const { return undoSteps.empty() ? nullptr : &undoSteps.back(); }

private:
    std::function<void(int line)> recolour;
    std::vector<TAction> undoSteps; // oldest first
    // An undone step: how to apply it again, and the step Undo took it from, which holds once more when
    // it is applied again. Most recently undone last.
    struct TUndone {
        TAction again;
        TAction step;
    };
    std::vector<TUndone> redoSteps;

    // Whether `next` of `kind` carries on the open group, the last step of undoSteps.
    bool Continues(const TAction& next, EditKind kind, std::chrono::milliseconds now) const;
    bool groupTyping = false;
    std::function<std::chrono::milliseconds()> clock;
    // The kind of the group the last step is, Other when no group is open; when its last edit came.
    EditKind openGroup = EditKind::Other;
    std::chrono::milliseconds lastGrouped {};
};
