#include "tools/WProblems.h"

#include "gui/GadgetFactory.h"

#include <algorithm>

namespace {
constexpr int Width = 460;
constexpr int Height = 260;
constexpr int NotesHeight = 30;
constexpr int ButtonHeight = 25;
constexpr int Margin = 5;
} // namespace

void TWProblems::Init(TGadget* mainWindow)
{
    using namespace EdgeMode;
    Window = MakeWindow("Problems", 0, 0, Width, Height, mainWindow, ToolWindowStyle | WindowStyle::Resizable);
    lNotes = MakeLabel(QString(), Margin, Margin, Width - 2 * Margin, NotesHeight, Window, 0);
    lNotes->SetLayout(Aligned, Aligned, Aligned, Centred);
    const int listTop = Margin + NotesHeight;
    tvProblems = MakeTreeView(
        Margin, listTop, Width - 2 * Margin, Height - listTop - ButtonHeight - 2 * Margin, Window, 0);
    tvProblems->SetLayout(Aligned, Aligned, Aligned, Aligned);
    bClose = MakeButton("Close", Width - Margin - 95, Height - Margin - ButtonHeight, 95, ButtonHeight, Window,
        PushButtonStyle);
    bClose->SetLayout(Centred, Aligned, Centred, Aligned);
    ShowRows({}, {});
}

bool TWProblems::HandleAction(const TEvent& event)
{
    const TGadget* source = event.source;
    if (!source)
        return false;
    if (source == bClose) {
        Close();
    } else if (source == tvProblems) {
        const auto* node = std::any_cast<TGadget*>(&event.extra);
        const int* index = node && *node ? std::any_cast<int>(&(*node)->extra) : nullptr;
        if (index && onChoose)
            onChoose(*index);
    } else {
        return false;
    }
    return true;
}

QString TWProblems::RowText(const TProblemRow& row)
{
    return QStringLiteral("Line %1  %2: %3").arg(row.line).arg(row.severity, row.message);
}

void TWProblems::ShowRows(std::vector<TProblemRow> shown, const QStringList& shownNotes)
{
    if (shownNotes != notes || !filled) {
        notes = shownNotes;
        lNotes->SetText(notes.isEmpty() ? QStringLiteral("Problems the live check found in the script.")
                                        : notes.join(QLatin1Char('\n')));
    }
    if (filled && shown == rows)
        return;
    filled = true;
    rows = std::move(shown);
    TGadget* root = tvProblems->RootNode();
    const auto selected = std::find(root->kids.begin(), root->kids.end(), tvProblems->SelectedNode());
    const int keep = selected == root->kids.end() ? 0 : int(selected - root->kids.begin());
    while (!root->kids.empty())
        root->kids.back()->Free();
    for (int index = 0; index < int(rows.size()); ++index)
        AppendNode(RowText(rows[index]), root, -1, index);
    if (!root->kids.empty())
        root->kids[std::min(keep, int(root->kids.size()) - 1)]->Activate(ActivateCommand::Select);
}

void TWProblems::ShowSummary(const QString& summary)
{
    const QString title = summary.isEmpty() ? QStringLiteral("Problems") : QStringLiteral("Problems (%1)").arg(summary);
    if (Window->GetText() != title)
        Window->SetText(title);
}
