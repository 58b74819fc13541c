// Menus with hot keys: labels, and combinations that win over the focused gadget.
#include "event/EventQueue.h"
#include "gui/GadgetFactory.h"
#include "gui/KeyMap.h"
#include "gui/MenuGadget.h"
#include "gui/WidgetGadget.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {
TEST(HotKeyLabel, NamesModifiersInOrderThenTheKey)
{
    EXPECT_EQ(HotKeyLabel('N', 2), "Ctrl+N");
    EXPECT_EQ(HotKeyLabel('1', 2), "Ctrl+1");
    EXPECT_EQ(HotKeyLabel(221, 2), "Ctrl+]");
    EXPECT_EQ(HotKeyLabel(219, 2), "Ctrl+[");
    EXPECT_EQ(HotKeyLabel(116, 7), "Alt+Ctrl+Shift+F5");
    EXPECT_EQ(HotKeyLabel(46, 0), "Delete");
    EXPECT_EQ(HotKeyLabel(99, 1), "Shift+Num 3");
    EXPECT_EQ(HotKeyLabel(107, 0), "Num +");
    EXPECT_EQ(HotKeyLabel(192, 4), "Alt+~");
    EXPECT_EQ(HotKeyLabel(200, 2), ""); // a key without a name gets no text
}

class HotKeyTest : public testing::Test {
protected:
    void SetUp() override
    {
        window = MakeWindow("Main", 0, 0, 300, 200, nullptr, 1 | 2 | 4 | 0x20 | 0x40);
        TGadget* edit = MakeMenuItem("Edit", 0, window->GetMenu());
        paste = MakeMenuItem("Paste", 108, edit, 'V', 2);
        plain = MakeMenuItem("Plain", 130, edit);
        window->UpdateMenu();
        field = MakeTextField(5, 5, 200, 20, window, 0);
        window->SetShow(1);
        field->Activate(0);
        ProcessPlatformInput();
        EventQueue.Clear();
    }

    void TearDown() override
    {
        window->Free();
        EventQueue.Clear();
    }

    // Whether a MenuAction is waiting; other events (activation, the field's own change) do not count.
    static bool MenuActionQueued()
    {
        while (EventQueue.Poll()) {
            if (EventQueue.Current().id == Event::MenuAction)
                return true;
        }
        return false;
    }

    QLineEdit* Edit() const { return static_cast<QLineEdit*>(TWidgetGadget::From(field)->Widget()); }

    TGadget* window = nullptr;
    TGadget* paste = nullptr;
    TGadget* plain = nullptr;
    TGadget* field = nullptr;
};

TEST_F(HotKeyTest, TheShortcutFollowsTheLabelAfterATab)
{
    EXPECT_EQ(static_cast<TMenuGadget*>(paste)->Label(), "Paste\tCtrl+V");
    EXPECT_EQ(paste->GetText(), "Paste");
    EXPECT_EQ(static_cast<TMenuGadget*>(plain)->Label(), "Plain"); // key 0: no shortcut
}

TEST_F(HotKeyTest, ACombinationWithAModifierRaisesTheItemAndNeverReachesTheFocusedField)
{
    QApplication::clipboard()->setText("pasted");
    QTest::keyClick(Edit(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(EventQueue.Poll(), Event::MenuAction);
    EXPECT_EQ(EventQueue.Current().source, paste);
    EXPECT_EQ(EventQueue.Current().data, 108);
    EXPECT_EQ(Edit()->text(), "");
}

TEST_F(HotKeyTest, ADisabledItemsKeyIsLeftToTheFocusedGadget)
{
    QApplication::clipboard()->setText("pasted");
    paste->SetEnabled(0);
    QTest::keyClick(Edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(MenuActionQueued());
    EXPECT_EQ(Edit()->text(), "pasted");
}

TEST_F(HotKeyTest, AHotKeyBelongsToItsOwnWindow)
{
    TGadget* dialog = MakeWindow("Dialog", 0, 0, 200, 100, window, 1 | 0x10 | 0x20 | 0x40);
    TGadget* other = MakeTextField(5, 5, 100, 20, dialog, 0);
    dialog->SetShow(1);
    ProcessPlatformInput();
    QApplication::clipboard()->setText("x");
    EventQueue.Clear();
    QTest::keyClick(TWidgetGadget::From(other)->Widget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(MenuActionQueued());
    EXPECT_EQ(other->GetText(), "x");
}
} // namespace
