#include "tools/WFind.h"

#include "gui/GadgetFactory.h"
#include "gui/KeyMap.h"

void TWFind::Init(TGadget* mainWindow)
{
    constexpr int ButtonX = 270;
    constexpr int ButtonWidth = 85;
    constexpr int FieldX = 90;
    constexpr int FieldWidth = 170;
    Window = MakeWindow("Find and replace", 0, 0, 360, 145, mainWindow, ToolWindowStyle);
    MakeLabel("Find what:", 5, 8, FieldX - 5, 15, Window, 0);
    tfFind = MakeTextField(FieldX, 5, FieldWidth, 20, Window, 0);
    MakeLabel("Replace with:", 5, 35, FieldX - 5, 15, Window, 0);
    tfReplace = MakeTextField(FieldX, 32, FieldWidth, 20, Window, 0);
    cbMatchCase = MakeButton("Match case", 5, 62, 120, 20, Window, ButtonStyle::CheckBox);
    cbWholeWord = MakeButton("Whole word", 130, 62, 120, 20, Window, ButtonStyle::CheckBox);
    lStatus = MakeLabel(QString(), 5, 92, ButtonX - 10, 45, Window, 0);
    bFindNext = MakeButton("Find Next", ButtonX, 5, ButtonWidth, 24, Window, PushButtonStyle);
    bFindPrevious = MakeButton("Find Previous", ButtonX, 32, ButtonWidth, 24, Window, PushButtonStyle);
    bReplace = MakeButton("Replace", ButtonX, 59, ButtonWidth, 24, Window, PushButtonStyle);
    bReplaceAll = MakeButton("Replace All", ButtonX, 86, ButtonWidth, 24, Window, PushButtonStyle);
    bClose = MakeButton("Close", ButtonX, 113, ButtonWidth, 24, Window, PushButtonStyle);
    tfFind->SetFilter(FieldFilter, this);
    tfReplace->SetFilter(FieldFilter, this);
}

int TWFind::FieldFilter(TEvent& event, void* context)
{
    // Enter in either field finds the next match, as the first button would.
    if (event.id == Event::KeyChar && event.data == CharCode::Return) {
        TEvent::Create(Event::GadgetAction, static_cast<TWFind*>(context)->bFindNext).Emit();
        return 0;
    }
    return 1;
}

bool TWFind::HandleAction(const TEvent& event)
{
    const TGadget* source = event.source;
    if (!source)
        return false;
    if (source == bFindNext)
        FindNext();
    else if (source == bFindPrevious)
        FindPrevious();
    else if (source == bReplace)
        Replace();
    else if (source == bReplaceAll)
        ReplaceAll();
    else if (source == bClose)
        Close();
    else
        return source == tfFind || source == tfReplace || source == cbMatchCase || source == cbWholeWord;
    return true;
}

void TWFind::OpenFind(bool replace)
{
    TGadget* area = host.textarea;
    const int length = area->GetSelectionLength(TextUnit::Chars);
    if (length > 0) {
        const QString selected = area->AreaText(area->GetCursorPos(TextUnit::Chars), length, TextUnit::Chars);
        if (!selected.contains(QLatin1Char('\n')))
            tfFind->SetText(selected);
    }
    SetStatus(QString());
    Open();
    TGadget* field = replace ? tfReplace : tfFind;
    field->Activate(ActivateCommand::Focus);
    field->SetSelection(0, -1, TextUnit::Chars);
}

QString TWFind::Status() const
{
    return lStatus->GetText();
}

void TWFind::SetStatus(const QString& text)
{
    lStatus->SetText(text);
}

TSearchOptions TWFind::Options() const
{
    return { .matchCase = ButtonValue(cbMatchCase) == 1, .wholeWord = ButtonValue(cbWholeWord) == 1 };
}

QString TWFind::Needle()
{
    const QString needle = tfFind->GetText();
    if (needle.isEmpty()) {
        SetStatus(QStringLiteral("Type the text to find."));
        if (!IsHidden(Window, false))
            tfFind->Activate(ActivateCommand::Focus);
    }
    return needle;
}

bool TWFind::FindNext()
{
    return Find(true);
}

bool TWFind::FindPrevious()
{
    return Find(false);
}

bool TWFind::Find(bool forward)
{
    const QString needle = Needle();
    if (needle.isEmpty())
        return false;
    TGadget* area = host.textarea;
    const TTextParts text = area->AreaParts();
    const int start = area->GetCursorPos(TextUnit::Chars);
    const int end = start + area->GetSelectionLength(TextUnit::Chars);
    const TSearchOptions options = Options();
    QString status;
    int found = forward ? FindForward(text, needle, end, options) : FindBackward(text, needle, start - 1, options);
    if (found < 0) {
        found = forward ? FindForward(text, needle, 0, options) : FindBackward(text, needle, text.Length(), options);
        status = forward ? QStringLiteral("Passed the end of the script")
                         : QStringLiteral("Passed the start of the script");
    }
    if (found < 0) {
        SetStatus(QStringLiteral("Cannot find \"%1\"").arg(needle));
        return false;
    }
    SetStatus(status);
    SelectMatch(found, static_cast<int>(needle.size()));
    return true;
}

void TWFind::SelectMatch(int pos, int length)
{
    host.textarea->SetSelection(pos, length, TextUnit::Chars);
    // The status line under the text follows the caret, as it does after any move.
    TEvent::Create(Event::GadgetSelect, host.textarea).Emit();
}

bool TWFind::Replace()
{
    const QString needle = Needle();
    if (needle.isEmpty())
        return false;
    TGadget* area = host.textarea;
    const int start = area->GetCursorPos(TextUnit::Chars);
    const int length = area->GetSelectionLength(TextUnit::Chars);
    if (IsMatchAt(area->AreaParts(), needle, start, length, Options())) {
        const int before = area->AreaLen(TextUnit::Chars);
        if (!host.replaceRange(start, length, tfReplace->GetText())) {
            SetStatus(QStringLiteral("Not replaced: the script would pass %L1 characters.").arg(TextAreaCapacity));
            return false;
        }
        area->SetSelection(start + area->AreaLen(TextUnit::Chars) - before + length, 0, TextUnit::Chars);
    }
    return FindNext();
}

int TWFind::ReplaceAll()
{
    const QString needle = Needle();
    if (needle.isEmpty())
        return 0;
    TGadget* area = host.textarea;
    const TReplacement replacement = ReplaceAllMatches(area->AreaParts(), needle, tfReplace->GetText(), Options());
    if (replacement.count == 0) {
        SetStatus(QStringLiteral("Cannot find \"%1\"").arg(needle));
        return 0;
    }
    if (!host.replaceRange(replacement.start, replacement.end - replacement.start, replacement.text)) {
        SetStatus(QStringLiteral("Nothing replaced: the script would pass %L1 characters.").arg(TextAreaCapacity));
        return 0;
    }
    SelectMatch(replacement.start, 0);
    SetStatus(QStringLiteral("Replaced %1").arg(replacement.count));
    return replacement.count;
}
