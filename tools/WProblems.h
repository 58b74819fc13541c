// TWProblems: the Problems window, the list of what the live check found in the script: line, severity
// and message, one row each, in text order. Enter or a double click on a row goes to that problem;
// notes above the list say what the list cannot show (later syntax errors, a linter that is missing).
#pragma once

#include "tools/ToolDialog.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct TProblemRow {
    int line = 0; // 1 for the first line
    QString severity; // "error", "warning" or "hint"
    QString message;
    bool operator==(const TProblemRow&) const = default;
};

class TWProblems : public TToolDialog {
public:
    using TToolDialog::TToolDialog;

    TGadget* lNotes = nullptr;
    TGadget* lbProblems = nullptr;
    TGadget* bClose = nullptr;
    // Hears the index of the row chosen with Enter or a double click.
    std::function<void(int index)> onChoose;

    void Init(TGadget* mainWindow);
    bool HandleAction(const TEvent& event) override;

    // Shows these rows and notes; the list is rebuilt only when they differ from what it shows, and
    // keeps a row selected, so that Enter goes somewhere at once.
    void ShowRows(std::vector<TProblemRow> rows, const QStringList& notes);
    // The window's title says how many there are, for a window left behind the main one.
    void ShowSummary(const QString& summary);
    const std::vector<TProblemRow>& Rows() const { return rows; }
    // The text a row shows.
    static QString RowText(const TProblemRow& row);

private:
    std::vector<TProblemRow> rows;
    QStringList notes;
    bool filled = false;
};
