// What the editor keeps between runs in its extra settings file: File > Recent Scripts, the folder the
// Load and Save As requesters start in, the launch arguments, and whether typing is grouped for undo.
#include "app/Application.h"

#include "gui/GadgetFactory.h"
#include "gui/SystemDriver.h"
#include "highlight/History.h"
#include "settings/ConfigLocation.h"
#include "settings/ExtraSettings.h"
#include "tools/WCommand.h"

#include <QDir>
#include <QFileInfo>

static_assert(TApplication::M_RECENT_LAST - TApplication::M_RECENT + 1 == TExtraSettings::RecentLimit);

bool TApplication::MayLoadOver()
{
    return !Modified || Proceed(QStringLiteral("Load another script without saving current?")) == 1;
}

QString TApplication::RequesterPath(bool save) const
{
    // The program's own folder, where the editor runs, is never a good start; nor is a folder that is gone.
    QString folder = QDir::homePath();
    for (const QString& candidate :
        { File.isEmpty() ? QString() : QFileInfo(File).absolutePath(), Extra->Text(ExtraKey::LastFolder) }) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isDir()) {
            folder = candidate;
            break;
        }
    }
    // Always a slash before the name, so that "/" stays a folder when the path is split again.
    return folder + QLatin1Char('/') + (save ? FileName : QString());
}

void TApplication::RememberScript(const QString& path)
{
    Extra->AddRecentScript(path);
    Extra->Set(ExtraKey::LastFolder, QFileInfo(path).absolutePath());
    ReportSettingsProblem();
    RebuildRecentMenu();
}

void TApplication::RebuildRecentMenu()
{
    while (!mRecent->kids.empty())
        mRecent->kids.back()->Free();
    recentShown = Extra->RecentScripts();
    if (recentShown.isEmpty())
        MakeMenuItem(QStringLiteral("(none)"), 0, mRecent)->SetEnabled(0);
    for (int i = 0; i < recentShown.size(); ++i) {
        QString shown = recentShown[i];
        // An & in a name is no mnemonic.
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        MakeMenuItem(QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(shown), M_RECENT + i, mRecent);
    }
}

void TApplication::OpenRecent(int index)
{
    if (index < 0 || index >= recentShown.size())
        return;
    const QString path = recentShown[index];
    if (!QFileInfo(path).isFile()) {
        Extra->RemoveRecentScript(path);
        RebuildRecentMenu();
        Tell(QStringLiteral("\"%1\" no longer exists and was removed from the recent scripts.").arg(path), false);
        ReportSettingsProblem();
        return;
    }
    if (MayLoadOver())
        LoadFile(path);
}

void TApplication::KeepLaunchArguments()
{
    wCommand->SetArguments(Extra->Text(ExtraKey::GameArguments), Extra->Text(ExtraKey::DedicatedArguments));
    wCommand->ArgumentsEdited = [this] {
        Extra->Set(ExtraKey::GameArguments, wCommand->GameArguments());
        Extra->Set(ExtraKey::DedicatedArguments, wCommand->DedicatedArguments());
        ReportSettingsProblem();
    };
}

void TApplication::ReportSettingsProblem()
{
    if (const QString problem = Extra->TakeProblem(); !problem.isEmpty())
        ShowNotice(problem);
}

void TApplication::SetTypingGrouped(bool on)
{
    History->SetGroupTyping(on);
    mGroupTyping->SetSelected(on ? 1 : 0);
}

void TApplication::ToggleTypingGrouped()
{
    SetTypingGrouped(!History->GroupsTyping());
    Extra->Set(ExtraKey::GroupTyping, History->GroupsTyping());
    ReportSettingsProblem();
}
