#include "highlight/History.h"

#include "highlight/TextClient.h"

bool TAction::Undo(TTextClient& textarea, const std::function<void(int line)>& recolourLine) const
{
    const int length = textarea.Length();
    // Backspace at the very start records position -1, and Delete at the very end a range behind the
    // last character. Neither edit changed the text, so putting their range "back" would only
    // duplicate or misplace characters: such a step restores the caret alone.
    const bool outside = Pos < 0 || Pos > length || Sel < 0 || Sel > length - Pos;
    const bool changesNothing = Sel == 0 && Text.isEmpty();
    if (outside || changesNothing) {
        textarea.Select(SelPos, SelLen);
        return false;
    }

    textarea.Replace(Pos, Sel, Text);
    textarea.Select(SelPos, SelLen);

    if (!recolourLine)
        return true;
    // Asked after the replacement, so the lines are those of the restored text.
    const int first = textarea.LineOf(Pos);
    const int last = textarea.LineOf(Pos + static_cast<int>(Text.size()));
    for (int line = first; line <= last; ++line)
        recolourLine(line);
    return true;
}

THistory::THistory(std::function<void(int line)> recolourLine)
    : recolour(std::move(recolourLine))
{
}

bool THistory::Undo(TTextClient& textarea)
{
    if (undoSteps.empty())
        return false;
    const TAction step = undoSteps.back();
    undoSteps.pop_back();
    // What the step removes comes back when it is applied again; a step that changes nothing only
    // puts the caret back, again.
    const bool inside = step.Pos >= 0 && step.Sel >= 0 && step.Pos <= textarea.Length() - step.Sel;
    const QString removed = inside ? textarea.Text(step.Pos, step.Sel) : QString();
    // The selection the edit left, as it stands when the edit is undone: a block indent's lines, a
    // dropped text, or the caret after typing come back with it.
    const int selectionStart = textarea.SelectionStart();
    const int selectionLength = textarea.SelectionLength();
    const bool changed = step.Undo(textarea, recolour);
    TAction again { 0, 0, QString(), selectionStart, selectionLength };
    if (changed)
        again = TAction { step.Pos, static_cast<int>(step.Text.size()), removed, selectionStart, selectionLength };
    redoSteps.push_back({ again, step });
    return changed;
}

bool THistory::Redo(TTextClient& textarea)
{
    if (redoSteps.empty())
        return false;
    const TUndone undone = redoSteps.back();
    redoSteps.pop_back();
    const bool changed = undone.again.Undo(textarea, recolour);
    undoSteps.push_back(undone.step);
    return changed;
}

void THistory::AddAction(TTextClient& /*textarea*/, int pos, int sel, const QString& text, int selPos, int selLen)
{
    undoSteps.push_back(TAction { pos, sel, text, selPos, selLen });
    redoSteps.clear();
}

void THistory::Clear()
{
    undoSteps = {};
    redoSteps = {};
}
