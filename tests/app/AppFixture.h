// A fixture that builds the whole application in a temporary folder, with a scripted system driver,
// and drives it through single passes of its main loop.
#pragma once

#include "app/Application.h"
#include "event/EventQueue.h"
#include "gui/Gadget.h"
#include "gui/GuiDriver.h"
#include "gui/TextArea.h"
#include "highlight/History.h"
#include "resources/EmbeddedFiles.h"
#include "support/QStringPrinter.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedSystemDriver.h"
#include "tools/StartupResources.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <tuple>

// A selection as the text area keeps it: the caret, where it starts, and the characters it spans.
struct TSelection {
    int pos = 0;
    int length = 0;
    bool operator==(const TSelection&) const = default;
};

inline void PrintTo(const TSelection& selection, std::ostream* out)
{
    *out << "(" << selection.pos << ", " << selection.length << ")";
}

// An undo step's fields side by side, so that a failure shows all of them.
inline std::tuple<int, int, QString, int, int> Fields(const TAction& action)
{
    return { action.Pos, action.Sel, action.Text, action.SelPos, action.SelLen };
}

// One edit seen from both sides: what it does to the text and the selection, the undo step it leaves
// last, and the text one Undo brings back. Undoing every step it left must lead back to where it began.
struct TEditCase {
    const char* name;
    QString text;
    TSelection selection;
    std::function<void()> action;
    QString edited;
    TSelection editedSelection;
    TAction record;
    QString undone;
    int records = 1;
};

class AppFixture : public testing::Test {
protected:
    void SetUp() override
    {
        static const bool once = [] {
            RegisterEmbeddedFiles();
            LoadStartupResources();
            return true;
        }();
        (void)once;
        ASSERT_TRUE(folder.isValid());
        previousFolder = QDir::currentPath();
        // The settings file and everything relative lands in the test's own folder.
        QDir::setCurrent(folder.path());
        environment.Set("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath("xdg")));
        environment.Set("XDG_STATE_HOME", QFile::encodeName(folder.filePath("state")));
        auto scripted = std::make_unique<TScriptedSystemDriver>();
        system = scripted.get();
        SetSystemDriver(std::move(scripted));
        // A paste must not find what an earlier test copied.
        QGuiApplication::clipboard()->clear();
        EventQueue.Clear();
        App = new TApplication();
        App->Init();
        Settle();
    }

    void TearDown() override
    {
        delete App;
        App = nullptr;
        EventQueue.Clear();
        SetSystemDriver(nullptr);
        QDir::setCurrent(previousFolder);
        environment.Restore();
    }

    // The editor goes and a new one starts in the same folder, as at the next run.
    void Restart()
    {
        delete App;
        EventQueue.Clear();
        App = new TApplication();
        App->Init();
        Settle();
    }

    // Lets the platform deliver what is pending and runs the loop until the queue is empty.
    void Settle()
    {
        for (int i = 0; i < 1000; ++i) {
            ProcessPlatformInput();
            if (!App->RunPass())
                break;
        }
    }

    // Emits an event as the user's action would and runs the loop over it.
    void Send(int id, TGadget* source, int data = 0)
    {
        TEvent::Create(id, source, data).Emit();
        Settle();
    }

    void Menu(int tag) { Send(Event::MenuAction, nullptr, tag); }

    TGadget* Text() const { return App->Textarea; }
    TTextArea* Area() const { return static_cast<TTextArea*>(App->Textarea); }
    // The widget that takes the text area's keys.
    QWidget* View() const { return Area()->View(); }

    // A key pressed on the text area as the user would, then the loop runs over what it raised.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(View(), key, modifiers);
        Settle();
    }
    void Type(const QString& text)
    {
        QTest::keyClicks(View(), text);
        Settle();
    }

    // Puts a script in place as a program change would (no events), with the caret or a selection.
    void SetScript(const QString& text, int pos = 0, int length = 0)
    {
        Text()->ReplaceText(0, -1, text, TextUnit::Chars);
        Select(pos, length);
        EventQueue.Clear();
    }
    void Select(int pos, int length = 0) { Text()->SetSelection(pos, length, TextUnit::Chars); }
    TSelection Selection() const { return { Cursor(), SelectionLength() }; }
    QString Script() const { return Text()->AreaText(0, -1, TextUnit::Chars); }
    int Cursor() const { return Text()->GetCursorPos(TextUnit::Chars); }
    int SelectionLength() const { return Text()->GetSelectionLength(TextUnit::Chars); }
    QString Selected() const { return Text()->AreaText(Cursor(), SelectionLength(), TextUnit::Chars); }

    const TTextStyle& StyleAt(int pos) const
    {
        const TTextBuffer& buffer = Area()->Buffer();
        return buffer.StyleOf(buffer.StyleIdAt(pos));
    }

    int Recorded() const { return App->History->Count(); }
    void Undo() { Menu(TApplication::M_UNDO); }

    // Actions for the edit tables.
    std::function<void()> Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        return [=, this] { Key(key, modifiers); };
    }
    std::function<void()> Typing(const QString& text)
    {
        return [=, this] { Type(text); };
    }
    std::function<void()> Pasting(const QString& clipboard, std::function<void()> paste)
    {
        return [=] {
            QGuiApplication::clipboard()->setText(clipboard);
            paste();
        };
    }

    void CheckEdit(const TEditCase& edit)
    {
        SCOPED_TRACE(edit.name);
        SetScript(edit.text, edit.selection.pos, edit.selection.length);
        App->History->Clear();
        edit.action();
        EXPECT_EQ(Script(), edit.edited);
        EXPECT_EQ(Selection(), edit.editedSelection);
        ASSERT_EQ(Recorded(), edit.records);
        EXPECT_EQ(Fields(*App->History->Last()), Fields(edit.record));

        // The caret goes elsewhere first, so that only the undo step can put it back.
        Select(edit.record.SelPos == 0 ? int(Script().size()) : 0);
        Undo();
        EXPECT_EQ(Script(), edit.undone);
        EXPECT_EQ(Selection(), (TSelection { edit.record.SelPos, edit.record.SelLen }));
        for (int left = Recorded(); left > 0; --left)
            Undo();
        EXPECT_EQ(Recorded(), 0);
        EXPECT_EQ(Script(), edit.text);
    }

    // Saves the document under a name in the test's folder through Save As.
    QString SaveAs(const QString& name)
    {
        const QString path = folder.filePath(name);
        system->fileAnswers.push_back(path);
        Menu(TApplication::M_SAVEAS);
        return path;
    }

    // A file in the test's folder as a game's executable: its bytes, and whether it has the run bit.
    QString MakeProgram(const QString& name, const QByteArray& bytes = "#!/bin/sh\n", bool runnable = true)
    {
        const QString path = folder.filePath(name);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        EXPECT_TRUE(file.setPermissions(runnable ? permissions | QFile::ExeOwner : permissions));
        return path;
    }

    QTemporaryDir folder;
    QString previousFolder;
    TScopedEnvironment environment;
    TScriptedSystemDriver* system = nullptr;
};
