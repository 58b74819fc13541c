#include "tools/WOutline.h"

#include "gui/GadgetFactory.h"
#include "gui/KeyMap.h"

#include <algorithm>

namespace {
constexpr int Width = 420;
constexpr int Height = 320;
constexpr int Margin = 5;
constexpr int FieldHeight = 20;
constexpr int ButtonHeight = 25;
} // namespace

void TWOutline::Init(TGadget* mainWindow)
{
    using namespace EdgeMode;
    Window = MakeWindow("Outline", 0, 0, Width, Height, mainWindow, ToolWindowStyle | WindowStyle::Resizable);
    tfFilter = MakeTextField(Margin, Margin, Width - 2 * Margin, FieldHeight, Window, 0);
    tfFilter->SetLayout(Aligned, Aligned, Aligned, Centred);
    tfFilter->SetTooltip(QStringLiteral("Type to narrow the list; Up and Down choose, Enter goes there"));
    tfFilter->SetFilter(FilterKeys, this);
    const int listTop = 2 * Margin + FieldHeight;
    lbEntries
        = MakeListBox(Margin, listTop, Width - 2 * Margin, Height - listTop - ButtonHeight - 2 * Margin, Window, 0);
    lbEntries->SetLayout(Aligned, Aligned, Aligned, Aligned);
    bClose = MakeButton(
        "Close", Width - Margin - 95, Height - Margin - ButtonHeight, 95, ButtonHeight, Window, PushButtonStyle);
    bClose->SetLayout(Centred, Aligned, Centred, Aligned);
}

int TWOutline::FilterKeys(TEvent& event, void* context)
{
    auto* outline = static_cast<TWOutline*>(context);
    if (event.id == Event::KeyChar && event.data == CharCode::Return) {
        outline->Choose();
        return 0;
    }
    if (event.id == Event::KeyDown && (event.data == VirtualKey::Up || event.data == VirtualKey::Down)) {
        const int count = static_cast<int>(outline->shown.size());
        if (count > 0) {
            const int step = event.data == VirtualKey::Up ? -1 : 1;
            const int row = std::clamp(outline->lbEntries->SelectedItem() + step, 0, count - 1);
            outline->lbEntries->SelectItem(row, 1);
        }
        return 0;
    }
    return 1;
}

bool TWOutline::HandleAction(const TEvent& event)
{
    const TGadget* source = event.source;
    if (!source)
        return false;
    if (source == bClose)
        Close();
    else if (source == tfFilter)
        Narrow();
    else if (source == lbEntries)
        Choose();
    else
        return false;
    return true;
}

void TWOutline::OpenOutline(std::vector<TOutlineEntry> entries, int caretLine)
{
    all = std::move(entries);
    tfFilter->SetText(QString());
    Narrow();
    // The entry the caret is in or below, so that the list opens where the user is.
    int nearest = 0;
    for (int k = 0; k < static_cast<int>(shown.size()); ++k) {
        if (shown[static_cast<std::size_t>(k)].line <= caretLine)
            nearest = k;
    }
    if (!shown.empty())
        lbEntries->SelectItem(nearest, 1);
    Window->SetText(QStringLiteral("Outline (%1)").arg(all.size()));
    Open();
    tfFilter->Activate(ActivateCommand::Focus);
}

void TWOutline::Narrow()
{
    const QString typed = tfFilter->GetText().trimmed();
    shown.clear();
    for (const TOutlineEntry& entry : all) {
        if (typed.isEmpty() || CompletionMatch(entry.name, typed) > 0
            || entry.text.contains(typed, Qt::CaseInsensitive))
            shown.push_back(entry);
    }
    lbEntries->SetRows(static_cast<int>(shown.size()), [this](int row) {
        const TOutlineEntry& entry = shown[static_cast<std::size_t>(row)];
        return QStringLiteral("%1  %2").arg(entry.line + 1, 5).arg(entry.text);
    });
    if (!shown.empty())
        lbEntries->SelectItem(0, 1);
}

void TWOutline::Choose()
{
    const int row = lbEntries->SelectedItem();
    if (row < 0 || row >= static_cast<int>(shown.size()))
        return;
    const int line = shown[static_cast<std::size_t>(row)].line;
    Close();
    if (onChoose)
        onChoose(line);
}
