#include "tools/WProblems.h"

#include "gui/GadgetFactory.h"

#include <algorithm>

namespace {
constexpr int Width = 460;
constexpr int Height = 200;
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
    lbProblems
        = MakeListBox(Margin, listTop, Width - 2 * Margin, Height - listTop - ButtonHeight - 2 * Margin, Window, 0);
    lbProblems->SetLayout(Aligned, Aligned, Aligned, Aligned);
    bClose = MakeButton(
        "Close", Width - Margin - 95, Height - Margin - ButtonHeight, 95, ButtonHeight, Window, PushButtonStyle);
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
    } else if (source == lbProblems) {
        if (onChoose && event.data >= 0 && event.data < int(rows.size()))
            onChoose(event.data);
    } else {
        return false;
    }
    return true;
}

QString TWProblems::RowText(const TProblemRow& row)
{
    return QStringLiteral("Line ") + QString::number(row.line) + QStringLiteral("  ") + row.severity
        + QStringLiteral(": ") + row.message;
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
    const int keep = std::max(lbProblems->SelectedItem(), 0);
    lbProblems->SetRows(int(rows.size()), [this](int row) { return RowText(rows[row]); });
    if (!rows.empty())
        lbProblems->SelectItem(std::min(keep, int(rows.size()) - 1), 1);
}

void TWProblems::ShowSummary(const QString& summary)
{
    const QString title = summary.isEmpty() ? QStringLiteral("Problems") : QStringLiteral("Problems (%1)").arg(summary);
    if (Window->GetText() != title)
        Window->SetText(title);
}
