// TWFind: the find and replace dialog. It searches the script's text area from the caret, selects what
// it finds, and wraps round the end and the start of the script, saying so in its status line. Its
// fields and boxes keep their state while it is hidden, so Find Next and Find Previous work from the
// menu with the dialog closed.
#pragma once

#include "tools/TextSearch.h"
#include "tools/ToolDialog.h"

#include <QString>

class TWFind : public TToolDialog {
public:
    using TToolDialog::TToolDialog;

    TGadget* tfFind = nullptr;
    TGadget* tfReplace = nullptr;
    TGadget* cbMatchCase = nullptr;
    TGadget* cbWholeWord = nullptr;
    TGadget* bFindNext = nullptr;
    TGadget* bFindPrevious = nullptr;
    TGadget* bReplace = nullptr;
    TGadget* bReplaceAll = nullptr;
    TGadget* bClose = nullptr;
    TGadget* lStatus = nullptr;

    void Init(TGadget* mainWindow);
    bool HandleAction(const TEvent& event) override;

    // Shows the dialog with the focus in "Find what:", or in "Replace with:" for `replace`. A selection
    // in the text area that holds no line break becomes the text to find.
    void OpenFind(bool replace);

    // Selects the next (previous) match after (before) the selection, wrapping round once. False, with
    // the selection left alone, when there is none anywhere or nothing to find.
    bool FindNext();
    bool FindPrevious();
    // Replaces the selection when it is a match, then finds the next one.
    bool Replace();
    // Replaces every match as one edit; the number replaced, 0 when nothing was.
    int ReplaceAll();

    QString Status() const;

private:
    TSearchOptions Options() const;
    // The text to find; an empty one says so in the status line and focuses its field.
    QString Needle();
    bool Find(bool forward);
    void SelectMatch(int pos, int length);
    void SetStatus(const QString& text);

    static int FieldFilter(TEvent& event, void* context);
};
