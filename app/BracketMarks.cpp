// Matching brackets and block keywords: with the caret beside one, it and its partner are framed; one
// without a partner is tinted.
#include "app/BracketMarks.h"

#include "app/Application.h"

#include "gui/Gadget.h"
#include "gui/ScriptArea.h"
#include "highlight/BracketMatch.h"

#include <utility>

namespace {
constexpr uint32_t PairColour = 0xFF6E7F9A;
constexpr uint32_t UnmatchedColour = 0x70E03030;
} // namespace

std::vector<TIndicator> MatchingBracketMarks(TGadget& textarea)
{
    const int caret = textarea.GetCursorPos(TextUnit::Chars);
    const int line = textarea.LineAt(caret);
    const auto match = MatchAtCaret(
        [&textarea](int at) {
            QString text = textarea.AreaText(at, 1, TextUnit::Lines);
            if (text.endsWith(QLatin1Char('\n')))
                text.chop(1);
            return text;
        },
        textarea.AreaLen(TextUnit::Lines) + 1, line, caret - textarea.CharAt(line));
    std::vector<TIndicator> marks;
    if (!match)
        return marks;
    const auto place = [&textarea](const TMatchPart& part) { return textarea.CharAt(part.line) + part.column; };
    const int at = place(match->at);
    if (match->partner) {
        const int partner = place(*match->partner);
        marks.push_back({ at, at + match->at.length, TIndicatorKind::Box, PairColour, {} });
        marks.push_back({ partner, partner + match->partner->length, TIndicatorKind::Box, PairColour, {} });
        // In the order the text area keeps them, so that marks that did not change compare equal and
        // the editor leaves them (and the lines between them) unpainted.
        if (partner < at)
            std::swap(marks[0], marks[1]);
    } else {
        marks.push_back({ at, at + match->at.length, TIndicatorKind::Tint, UnmatchedColour,
            QStringLiteral("No partner for \"%1\"").arg(textarea.AreaText(at, match->at.length, TextUnit::Chars)) });
    }
    return marks;
}

void TApplication::ShowMatchingBracket()
{
    TScriptArea* area = ScriptArea(Textarea);
    std::vector<TIndicator> marks = MatchingBracketMarks(*Textarea);
    if (marks != area->Indicators(DecorationLayer::Brackets))
        area->SetIndicators(DecorationLayer::Brackets, std::move(marks));
}
