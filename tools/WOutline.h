// TWOutline: the script's outline, a list of the functions it defines, the hooks it registers and the
// timers it starts, each with its line. Typing narrows the list (the letters in order, in any case);
// Up and Down choose, Enter or a double click goes to the line.
//
// A window over the text rather than a panel beside it: the main window's width is the text area's,
// and the outline is looked at for a moment, to jump, as Go to Line is.
#pragma once

#include "highlight/Completion.h"
#include "tools/ToolDialog.h"

#include <functional>
#include <vector>

class TWOutline : public TToolDialog {
public:
    using TToolDialog::TToolDialog;

    TGadget* tfFilter = nullptr;
    TGadget* lbEntries = nullptr;
    TGadget* bClose = nullptr;
    // Hears the line (0 for the first) of the entry chosen.
    std::function<void(int line)> onChoose;

    void Init(TGadget* mainWindow);
    bool HandleAction(const TEvent& event) override;

    // Opens on these entries, the one nearest above `caretLine` chosen.
    void OpenOutline(std::vector<TOutlineEntry> entries, int caretLine);
    // The entries the filter lets through, in line order.
    const std::vector<TOutlineEntry>& Shown() const { return shown; }

private:
    static int FilterKeys(TEvent& event, void* context);
    void Narrow();
    void Choose();

    std::vector<TOutlineEntry> all;
    std::vector<TOutlineEntry> shown;
};
