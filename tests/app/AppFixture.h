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

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

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
        auto scripted = std::make_unique<TScriptedSystemDriver>();
        system = scripted.get();
        SetSystemDriver(std::move(scripted));
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

    // Saves the document under a name in the test's folder through Save As.
    QString SaveAs(const QString& name)
    {
        const QString path = folder.filePath(name);
        system->fileAnswers.push_back(path);
        Menu(TApplication::M_SAVEAS);
        return path;
    }

    QTemporaryDir folder;
    QString previousFolder;
    TScopedEnvironment environment;
    TScriptedSystemDriver* system = nullptr;
};
