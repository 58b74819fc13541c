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
    if (_Undo.empty())
        return false;
    const bool changed = _Undo.back().Undo(textarea, recolour);
    _Undo.pop_back();
    return changed;
}

void THistory::AddAction(TTextClient& /*textarea*/, int pos, int sel, const QString& text, int selPos, int selLen)
{
    _Undo.push_back(TAction { pos, sel, text, selPos, selLen });
}

void THistory::Clear()
{
    _Undo = {};
    _Redo = {};
}
