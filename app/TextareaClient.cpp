#include "app/TextareaClient.h"

#include "gui/Gadget.h"

int TTextareaClient::Length() const
{
    return area.AreaLen(TextUnit::Chars);
}

int TTextareaClient::LastLine() const
{
    return area.AreaLen(TextUnit::Lines);
}

int TTextareaClient::CursorLine() const
{
    return area.GetCursorPos(TextUnit::Lines);
}

int TTextareaClient::LineStart(int line) const
{
    return area.CharAt(line);
}

int TTextareaClient::LineOf(int pos) const
{
    return area.LineAt(pos);
}

QString TTextareaClient::Text(int pos, int length) const
{
    return area.AreaText(pos, length, TextUnit::Chars);
}

QString TTextareaClient::LineText(int line) const
{
    return area.AreaText(line, 1, TextUnit::Lines);
}

bool TTextareaClient::Replace(int pos, int length, const QString& text)
{
    return area.ReplaceText(pos, length, text, TextUnit::Chars);
}

void TTextareaClient::Select(int pos, int length)
{
    area.SetSelection(pos, length, TextUnit::Chars);
}

int TTextareaClient::SelectionStart() const
{
    return area.GetCursorPos(TextUnit::Chars);
}

int TTextareaClient::SelectionLength() const
{
    return area.GetSelectionLength(TextUnit::Chars);
}

void TTextareaClient::SetStyles(std::span<const TStyledRange> ranges)
{
    for (const TStyledRange& range : ranges) {
        const TPartColour& colour = *range.Colour;
        area.SetStyle(colour.R, colour.G, colour.B, colour.Style, range.Pos, range.Length, TextUnit::Chars);
    }
}
