#include "gui/SystemDriver.h"

#include "gui/FileFilter.h"
#include "gui/MenuGadget.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSortFilterProxyModel>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

QString ApplicationTitle;

namespace {
QWidget* ActiveWindow()
{
    return QApplication::activeWindow();
}

int AskWithButtons(const QString& caption, const QString& text, bool serious, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton escape)
{
    QMessageBox box(serious ? QMessageBox::Warning : QMessageBox::Question, caption, text, buttons, ActiveWindow());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setEscapeButton(escape);
    return box.exec();
}

QString NameFilterOf(const TFileFilterGroup& group)
{
    QStringList patterns;
    if (group.anyName || group.runnable)
        patterns << QStringLiteral("*");
    else {
        for (const QString& extension : group.extensions)
            patterns << QStringLiteral("*.") + extension;
    }
    return QStringLiteral("%1 (%2)").arg(group.description, patterns.join(QLatin1Char(' ')));
}

// Name patterns cannot tell programs: a group that takes the files the user may run lists every name
// (*), and this model keeps only the runnable files and those of the group's extensions.
class GroupFilterModel : public QSortFilterProxyModel {
public:
    void SetGroup(const TFileFilterGroup* selected)
    {
        group = selected;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files || !group || !group->runnable)
            return true;
        const QFileInfo file = files->fileInfo(files->index(row, 0, parent));
        return file.isDir() || group->Accepts(file);
    }

private:
    const TFileFilterGroup* group = nullptr;
};

// The requesters as Qt's own dialogs, so they look and behave the same on every desktop.
class QtSystemDriver : public TSystemDriver {
public:
    void Notify(const QString& caption, const QString& text, bool serious) override
    {
        QMessageBox box(
            serious ? QMessageBox::Warning : QMessageBox::Information, caption, text, QMessageBox::Ok, ActiveWindow());
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
    }

    int Confirm(const QString& caption, const QString& text, bool serious) override
    {
        return AskWithButtons(caption, text, serious, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
                == QMessageBox::Ok
            ? 1
            : 0;
    }

    int Proceed(const QString& caption, const QString& text, bool serious) override
    {
        switch (AskWithButtons(
            caption, text, serious, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            return 1;
        case QMessageBox::No:
            return 0;
        default:
            return -1;
        }
    }

    int Choose(
        const QString& caption, const QString& text, bool serious, const QStringList& buttons, int escapeIndex) override
    {
        QMessageBox box(serious ? QMessageBox::Warning : QMessageBox::Question, caption, text, {}, ActiveWindow());
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        std::vector<QAbstractButton*> added;
        for (qsizetype i = 0; i < buttons.size(); ++i) {
            const auto role = i == escapeIndex ? QMessageBox::RejectRole
                : i == 0                       ? QMessageBox::AcceptRole
                                               : QMessageBox::DestructiveRole;
            added.push_back(box.addButton(buttons[i], role));
        }
        if (!added.empty())
            box.setDefaultButton(static_cast<QPushButton*>(added.front()));
        if (escapeIndex >= 0 && escapeIndex < int(added.size()))
            box.setEscapeButton(added[std::size_t(escapeIndex)]);
        box.exec();
        const auto chosen = std::find(added.begin(), added.end(), box.clickedButton());
        return chosen == added.end() ? escapeIndex : int(chosen - added.begin());
    }

    QString RequestFile(const QString& title, const QString& extensions, bool save, const QString& path) override
    {
        const auto groups = ParseFileFilter(extensions);
        const auto [folder, fileName] = SplitInitialPath(path);
        QFileDialog dialog(ActiveWindow(), title, folder);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QStringList filters;
        for (const auto& group : groups)
            filters << NameFilterOf(group);
        dialog.setNameFilters(filters);
        const int preselected = PreselectedFilterGroup(groups, path);
        if (!filters.isEmpty())
            dialog.selectNameFilter(filters[preselected]);
        if (std::any_of(groups.begin(), groups.end(), [](const auto& group) { return group.runnable; })) {
            // The "*" such a group lists would only mislead: the descriptions say it.
            dialog.setOption(QFileDialog::HideNameFilterDetails);
            auto* runnable = new GroupFilterModel(); // the dialog owns it
            dialog.setProxyModel(runnable);
            runnable->SetGroup(&groups[preselected]);
            // The dialog names the chosen filter as its list shows it: without the patterns.
            QObject::connect(&dialog, &QFileDialog::filterSelected, [&groups, runnable](const QString& filter) {
                const auto chosen = std::find_if(groups.begin(), groups.end(), [&filter](const auto& group) {
                    return filter == group.description || filter == NameFilterOf(group);
                });
                runnable->SetGroup(chosen != groups.end() ? &*chosen : nullptr);
            });
        }
        if (save) {
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            // A name typed without an extension gets the selected group's.
            auto suffixFor = [groups, filters](const QString& filter) {
                const int index = filters.indexOf(filter);
                return index >= 0 && !groups[index].extensions.isEmpty() ? groups[index].extensions.first() : QString();
            };
            dialog.setDefaultSuffix(suffixFor(dialog.selectedNameFilter()));
            QObject::connect(&dialog, &QFileDialog::filterSelected,
                [&dialog, suffixFor](const QString& filter) { dialog.setDefaultSuffix(suffixFor(filter)); });
        } else {
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
        }
        if (!fileName.isEmpty())
            dialog.selectFile(fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().first();
    }

    unsigned RequestColor(int red, int green, int blue) override
    {
        const QColor chosen = QColorDialog::getColor(QColor(red & 255, green & 255, blue & 255), ActiveWindow());
        if (!chosen.isValid())
            return 0;
        return 0xFF000000u | (unsigned(chosen.red()) << 16) | (unsigned(chosen.green()) << 8) | unsigned(chosen.blue());
    }

    void PopupMenu(TGadget* menu, int screenX, int screenY) override
    {
        if (auto* popup = dynamic_cast<TMenuGadget*>(menu))
            popup->Popup(screenX, screenY);
    }

    bool Launch(const QString& program, const QStringList& arguments, const QString& workingDirectory) override
    {
        return QProcess::startDetached(program, arguments, workingDirectory);
    }

    void Exit(int status) override
    {
        // The program has written everything it keeps; end without tearing down the widgets.
        std::fflush(nullptr);
        _exit(status);
    }
};

std::unique_ptr<TSystemDriver>& Installed()
{
    static std::unique_ptr<TSystemDriver> driver = std::make_unique<QtSystemDriver>();
    return driver;
}

unsigned chosenColour = 0;
} // namespace

TSystemDriver& SystemDriver()
{
    return *Installed();
}

std::unique_ptr<TSystemDriver> SetSystemDriver(std::unique_ptr<TSystemDriver> driver)
{
    std::unique_ptr<TSystemDriver> previous = std::move(Installed());
    Installed() = driver ? std::move(driver) : std::make_unique<QtSystemDriver>();
    return previous;
}

void Notify(const QString& text, bool serious)
{
    SystemDriver().Notify(ApplicationTitle, text, serious);
}

int Confirm(const QString& text, bool serious)
{
    return SystemDriver().Confirm(ApplicationTitle, text, serious);
}

int Proceed(const QString& text, bool serious)
{
    return SystemDriver().Proceed(ApplicationTitle, text, serious);
}

int Choose(const QString& text, const QStringList& buttons, int escapeIndex, bool serious)
{
    return SystemDriver().Choose(ApplicationTitle, text, serious, buttons, escapeIndex);
}

QString RequestFile(const QString& title, const QString& extensions, bool save, const QString& path)
{
    return SystemDriver().RequestFile(title, extensions, save, path);
}

int RequestColor(int red, int green, int blue)
{
    const unsigned colour = SystemDriver().RequestColor(red, green, blue);
    if (!colour)
        return 0;
    chosenColour = colour;
    return 1;
}

int ChosenRed()
{
    return (chosenColour >> 16) & 255;
}

int ChosenGreen()
{
    return (chosenColour >> 8) & 255;
}

int ChosenBlue()
{
    return chosenColour & 255;
}

QString ClipboardText()
{
    return QGuiApplication::clipboard()->text();
}
