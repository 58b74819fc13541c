// Syntax colouring of the text area with the colours and styles the settings hold at that moment.
#include "app/Application.h"

#include "app/TextareaClient.h"
#include "highlight/SyntaxColouring.h"
#include "settings/WSettings.h"

void TApplication::LoadKeywords()
{
    if (auto keywords = LoadKeywordList())
        Keywords = *keywords;
    colouring->SetKeywords(Keywords);
}

void TApplication::UpdateTextareaLine(int line)
{
    colouring->ColourLine(*TextareaClient, line, wSettings->Values().Scheme());
}

void TApplication::UpdateTextareaLines(int first, int last)
{
    colouring->ColourLines(*TextareaClient, first, last, wSettings->Values().Scheme());
}

void TApplication::GlobalUpdateTextarea()
{
    colouring->ColourAll(*TextareaClient, wSettings->Values().Scheme());
}
