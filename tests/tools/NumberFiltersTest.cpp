// The number fields' key filters on a real text field: a key press is a key-down and then its
// characters, and the field acts on typing at the character and on navigation at the key-down, so a
// field that refuses Backspace's key-down still deletes through its character.
#include "tools/NumberFilters.h"
#include "event/EventQueue.h"
#include "gui/GadgetFactory.h"
#include "gui/WidgetGadget.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {
class NumberFieldTest : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        field = MakeTextField(5, 5, 100, 20, window, 0);
    }

    QLineEdit* Edit() const { return WidgetOf<QLineEdit>(field); }

    TGadget* field = nullptr;
};

TEST(NumberFilters, TakeArrowsAndDeleteAtKeyDownAndDigitsAndEditingCharacters)
{
    auto verdict = [](auto filter, int id, int code) {
        TEvent event = TEvent::Create(id, nullptr, code);
        return filter(event, nullptr);
    };
    for (int key : { 37, 38, 39, 40, 46 })
        EXPECT_EQ(verdict(IntegerFilter, Event::KeyDown, key), 1) << key;
    for (int key : { 8, 9, 13, 36, 35, 48, 65, 190 })
        EXPECT_EQ(verdict(IntegerFilter, Event::KeyDown, key), 0) << key;
    for (int code : { int('0'), int('5'), int('9'), 8, 1, 3, 22, 24 })
        EXPECT_EQ(verdict(IntegerFilter, Event::KeyChar, code), 1) << code;
    for (int code : { int('a'), int('-'), int('.'), int(' '), 26, 13 })
        EXPECT_EQ(verdict(IntegerFilter, Event::KeyChar, code), 0) << code;
    EXPECT_EQ(verdict(DecimalFilter, Event::KeyChar, '.'), 1);
    EXPECT_EQ(verdict(DecimalFilter, Event::KeyChar, ','), 0);
    EXPECT_EQ(verdict(DecimalFilter, Event::KeyDown, 46), 1);
    EXPECT_EQ(verdict(IntegerFilter, Event::MouseDown, 1), 0);
}

TEST_F(NumberFieldTest, AnIntegerFieldTakesDigitsBackspaceArrowsAndDelete)
{
    field->SetFilter(IntegerFilter, nullptr);
    QTest::keyClicks(Edit(), "12a.3");
    EXPECT_EQ(field->GetText(), "123");
    // Backspace's key-down is refused, yet its character deletes.
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    EXPECT_EQ(field->GetText(), "12");
    // Left is taken at its key-down; the digit lands before the 2.
    QTest::keyClick(Edit(), Qt::Key_Left);
    QTest::keyClick(Edit(), Qt::Key_9);
    EXPECT_EQ(field->GetText(), "192");
    // Home is refused at its key-down and types nothing: the caret stays.
    QTest::keyClick(Edit(), Qt::Key_Home);
    QTest::keyClick(Edit(), Qt::Key_7);
    EXPECT_EQ(field->GetText(), "1972");
    // Delete works at its key-down.
    QTest::keyClick(Edit(), Qt::Key_Delete);
    EXPECT_EQ(field->GetText(), "197");

    ProcessPlatformInput();
    ASSERT_GT(EventQueue.Count(), 0);
    ASSERT_EQ(EventQueue.Poll(), Event::GadgetAction); // the user's changes, merged while queued
    EXPECT_EQ(EventQueue.Current().source, field);
}

TEST_F(NumberFieldTest, ADecimalFieldTakesThePointAndPastedTextIsNotFiltered)
{
    field->SetFilter(DecimalFilter, nullptr);
    QTest::keyClicks(Edit(), "2.5x");
    EXPECT_EQ(field->GetText(), "2.5");

    QApplication::clipboard()->setText("12abc");
    field->SetText("");
    QTest::keyClick(Edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->GetText(), "12abc");
}
} // namespace
