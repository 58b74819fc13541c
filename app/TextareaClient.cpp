#include "app/TextareaClient.h"

#include "gui/Gadget.h"
#include "gui/ScriptArea.h"

TTextareaClient::TTextareaClient(TGadget& textarea)
    : area(textarea)
    , script(ScriptArea(&textarea))
{
}

TTextareaClient::~TTextareaClient() = default;

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

std::optional<TTextParts> TTextareaClient::TextInPlace() const
{
    if (!script)
        return std::nullopt;
    return area.AreaParts();
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

void TTextareaClient::SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs)
{
    if (script) {
        script->SetStyles(palette, runs);
        return;
    }
    for (const TColouredRun& run : runs) {
        if (run.colour < 0 || static_cast<std::size_t>(run.colour) >= palette.size())
            continue;
        const TRunColour& colour = palette[run.colour];
        area.SetStyle(colour.r, colour.g, colour.b, colour.flags, run.pos, run.length, TextUnit::Chars);
    }
}
