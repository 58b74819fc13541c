// What the editor keeps for its next run in its extra settings file: where the requesters start, File >
// Recent Scripts, the launch arguments; what another editor wrote there, and a damaged file.
#include "AppFixture.h"

#include "gui/MenuGadget.h"
#include "settings/ExtraSettings.h"
#include "tools/WCommand.h"

namespace {
class RecentScriptsTest : public AppFixture {
protected:
    QString Put(const QString& name, const QByteArray& bytes = "x")
    {
        QFile file(name.startsWith('/') ? name : folder.filePath(name));
        EXPECT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()) && file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QStringList Recent() const
    {
        QStringList labels;
        for (TGadget* item : App->mRecent->kids)
            labels << static_cast<TMenuGadget*>(item)->Label() + (item->State() & GadgetState::Disabled ? " -" : "");
        return labels;
    }
    void ChooseRecent(int index, int answer = 1)
    {
        system->proceedAnswers = { answer };
        static_cast<TMenuGadget*>(App->mRecent->kids.at(index))->Choose();
        Settle();
    }
    // The initial paths of the Load and the Save As requesters, both cancelled.
    QStringList RequesterPaths()
    {
        system->requests.clear();
        system->proceedAnswers = { 1 };
        Menu(TApplication::M_LOAD);
        Menu(TApplication::M_SAVEAS);
        QStringList paths;
        for (const TRecordedRequest& request : system->requests)
            if (request.kind == "RequestFile")
                paths << request.path;
        return paths;
    }
};

TEST_F(RecentScriptsTest, RequestersStartInTheScriptsFolderElseTheLastOneUsedElseHome)
{
    const QString home = folder.filePath("home"), scripts = folder.filePath("my scripts");
    ASSERT_TRUE(QDir().mkpath(home));
    environment.Set("HOME", QFile::encodeName(home));
    EXPECT_EQ(RequesterPaths(), (QStringList { home + "/", home + "/New Script.lua" }));
    ASSERT_TRUE(App->LoadFile(Put("my scripts/a.lua")));
    EXPECT_EQ(RequesterPaths(), (QStringList { scripts + "/", scripts + "/a.lua" }));
    Menu(TApplication::M_NEW);
    Restart();
    EXPECT_EQ(RequesterPaths(), (QStringList { scripts + "/", scripts + "/New Script.lua" }));
    ASSERT_TRUE(QDir(scripts).removeRecursively());
    EXPECT_EQ(RequesterPaths(), (QStringList { home + "/", home + "/New Script.lua" }));
}

TEST_F(RecentScriptsTest, RecentScriptsListTheTenLatestAcrossARestartAndDropOnesThatAreGone)
{
    EXPECT_EQ(Recent(), QStringList { "(none) -" });
    for (int i = 1; i <= 10; ++i)
        ASSERT_TRUE(App->LoadFile(Put(QStringLiteral("%1.lua").arg(i))));
    // A name the file must carry unharmed: list separators, quotes, an ampersand, non-ASCII.
    const QString saved = SaveAs("R&D, \"q\" = ;größe.lua");
    Restart();
    QStringList expected = { "&1 " + QString(saved).replace("&", "&&") };
    for (int i = 10; i >= 2; --i)
        expected << QStringLiteral("&%1 %2").arg((12 - i) % 10).arg(folder.filePath(QStringLiteral("%1.lua").arg(i)));
    EXPECT_EQ(Recent(), expected);

    ChooseRecent(0, 0); // the new script after the restart is asked about first
    EXPECT_EQ(App->File, "");
    ChooseRecent(4);
    EXPECT_EQ(App->File, folder.filePath("7.lua"));
    EXPECT_EQ(Recent()[0], "&1 " + App->File);

    ASSERT_TRUE(QFile::remove(saved));
    Type("--");
    system->requests.clear();
    ChooseRecent(1);
    ASSERT_EQ(system->requests.size(), 1u) << "no question about the changes";
    EXPECT_EQ(system->requests[0].text, "\"" + saved + "\" no longer exists and was removed from the recent scripts.");
    EXPECT_EQ(Recent().size(), 9);
    EXPECT_EQ(Script(), "--x");

    // Another editor changed the list meanwhile: the next load adds to what it wrote.
    Put(App->Extra->Path(), "[recent]\nscripts=/other.lua\n");
    App->LoadFile(folder.filePath("2.lua"));
    EXPECT_EQ(Recent(), (QStringList { "&1 " + folder.filePath("2.lua"), "&2 /other.lua" }));
}

TEST_F(RecentScriptsTest, LaunchArgumentsSurviveARestartAndADamagedFileIsSetAside)
{
    App->wCommand->SetArguments(R"(-name "Big Al")", "-port 36963");
    Send(Event::GadgetAction, App->wCommand->tfDedi); // as an edit raises it
    Restart();
    EXPECT_EQ(App->wCommand->GameArguments(), R"(-name "Big Al")");
    EXPECT_EQ(App->wCommand->DedicatedArguments(), "-port 36963");

    const QString ini = Put(App->Extra->Path(), "[launch\ngame=-x\n\x01");
    system->requests.clear();
    Restart();
    ASSERT_EQ(system->requests.size(), 1u);
    EXPECT_TRUE(system->requests[0].text.contains("is damaged. It was set aside as \"" + ini + ".bad\""));
    EXPECT_TRUE(QFile::exists(ini + ".bad"));
    EXPECT_EQ(App->wCommand->GameArguments(), "");
}
} // namespace
