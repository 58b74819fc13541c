// The editor's own undo history for the script's text area: one step per recorded edit; undone steps
// wait on a redo list until a new edit.
#pragma once

#include <QString>

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

class THistory {
public:
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
    void AddAction(TTextClient& textarea, int pos, int sel, const QString& text, int selPos, int selLen);
    void Clear();

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
};
