// Syntax colouring of the text area with the colours and styles of the settings.
#include "app/Application.h"

#include "gui/Gadget.h"
#include "highlight/Colouring.h"
#include "settings/WSettings.h"

namespace {
// The colours as the settings hold them at this moment.
TColourScheme SchemeOf(const TWSettings& s)
{
    TColourScheme scheme;
    scheme.Sign = { s.SignR, s.SignG, s.SignB, s.SignStyle };
    scheme.Keyword = { s.keywordR, s.keywordG, s.keywordB, s.keywordStyle };
    scheme.Text = { s.textR, s.textG, s.textB, s.textStyle };
    scheme.Number = { s.numberR, s.numberG, s.numberB, s.numberStyle };
    scheme.String = { s.StringR, s.StringG, s.StringB, s.StringStyle };
    scheme.Comment = { s.commentR, s.commentG, s.commentB, s.commentStyle };
    scheme.Bracket = { s.bracketR, s.bracketG, s.bracketB, s.bracketStyle };
    return scheme;
}

TSyntaxColouring& Colouring()
{
    static TSyntaxColouring colouring;
    return colouring;
}
} // namespace

void TApplication::LoadKeywords()
{
    if (auto keywords = LoadKeywordList())
        Keywords = *keywords;
    Colouring().SetKeywords(Keywords);
}

void TApplication::UpdateTextareaLine(int line)
{
    Colouring().ColourLine(*Textarea, line, SchemeOf(*wSettings));
}

void TApplication::GlobalUpdateTextarea()
{
    Colouring().ColourAll(*Textarea, SchemeOf(*wSettings));
}
