#include "highlight/History.h"

#include "highlight/TextClient.h"

namespace {
std::chrono::milliseconds SteadyNow()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

// Whether an edit may open a group or join one: a typed character, or a character deleted that is no
// line break (a line break, typed or deleted, is a step of its own).
bool Groupable(const TAction& action, EditKind kind)
{
    if (kind == EditKind::Typing)
        return action.Sel > 0;
    return kind != EditKind::Other && !action.Text.isEmpty() && !action.Text.contains(QLatin1Char('\n'));
}
} // namespace

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
    , clock(SteadyNow)
{
}

bool THistory::Undo(TTextClient& textarea)
{
    if (undoSteps.empty())
        return false;
    const TAction step = undoSteps.back();
    undoSteps.pop_back();
    openGroup = EditKind::Other;
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
    openGroup = EditKind::Other;
    const bool changed = undone.again.Undo(textarea, recolour);
    undoSteps.push_back(undone.step);
    return changed;
}

void THistory::AddAction(
    TTextClient& /*textarea*/, int pos, int sel, const QString& text, int selPos, int selLen, EditKind kind)
{
    if (!groupTyping) {
        undoSteps.push_back(TAction { pos, sel, text, selPos, selLen });
        redoSteps.clear();
        return;
    }
    const TAction next { pos, sel, text, selPos, selLen };
    const std::chrono::milliseconds now = clock();
    redoSteps.clear();
    if (Continues(next, kind, now)) {
        // The group keeps the selection from before its first edit; it grows by what this one does.
        TAction& group = undoSteps.back();
        if (kind == EditKind::Typing) {
            group.Sel += next.Sel;
        } else if (kind == EditKind::Backspace) {
            group.Pos = next.Pos;
            group.Text.prepend(next.Text);
        } else {
            group.Text += next.Text;
        }
    } else {
        undoSteps.push_back(next);
        openGroup = Groupable(next, kind) ? kind : EditKind::Other;
    }
    lastGrouped = now;
}

bool THistory::Continues(const TAction& next, EditKind kind, std::chrono::milliseconds now) const
{
    if (kind == EditKind::Other || kind != openGroup || undoSteps.empty() || !Groupable(next, kind) || next.SelLen != 0)
        return false;
    if (now < lastGrouped || now - lastGrouped >= GroupPause)
        return false;
    // The caret has not moved since the group's last edit: a character typed right after the last one,
    // Backspace right before the last one it took, Delete where it took the last.
    const TAction& group = undoSteps.back();
    switch (kind) {
    case EditKind::Typing:
        return next.Text.isEmpty() && next.Pos == group.Pos + group.Sel && next.SelPos == next.Pos;
    case EditKind::Backspace:
        return next.Pos + next.Text.size() == group.Pos && next.SelPos == group.Pos;
    case EditKind::Delete:
        return next.Pos == group.Pos && next.SelPos == group.Pos;
    case EditKind::Other:
        break;
    }
    return false;
}

void THistory::Clear()
{
    undoSteps = {};
    redoSteps = {};
    openGroup = EditKind::Other;
}

void THistory::SetGroupTyping(bool on)
{
    groupTyping = on;
    openGroup = EditKind::Other;
}

void THistory::SetClock(std::function<std::chrono::milliseconds()> now)
{
    clock = std::move(now);
}
