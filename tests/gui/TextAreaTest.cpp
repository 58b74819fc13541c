// The text area gadget on the offscreen platform: the order in which keys reach the key filter, which
// changes report events, the clipboard, locking, and what it draws.
#include "gui/TextArea.h"
#include "event/EventQueue.h"
#include "gui/GadgetFactory.h"
#include "gui/GuiFont.h"
#include "support/DropEvents.h"

#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <vector>

namespace {
constexpr int DialogStyle = 1 | 0x10 | 0x20 | 0x40 | 0x200;
constexpr TextUnit Chars = TextUnit::Chars;

// The caret (the selection's start) and the length selected.
struct TSelection {
    int pos = 0;
    int length = 0;
    bool operator==(const TSelection&) const = default;
};

void PrintTo(const TSelection& selection, std::ostream* out)
{
    *out << "(" << selection.pos << ", " << selection.length << ")";
}

struct FilterLog {
    struct Seen {
        int id;
        int code;
        int mods;
        QString text; // the text area's text when the filter was asked
    };
    std::vector<Seen> seen;
    std::function<int(const TEvent&)> decide;
};

int RecordingFilter(TEvent& event, void* context)
{
    auto* log = static_cast<FilterLog*>(context);
    // The modifier keys are offered too (as on the desktop the program was made for); the tests
    // follow the keys they press.
    const bool modifierKey = event.id == Event::KeyDown && event.data >= 16 && event.data <= 18;
    if (!modifierKey)
        log->seen.push_back({ event.id, event.data, event.mods, event.source->GetText() });
    return log->decide ? log->decide(event) : 1;
}

class TextAreaTest : public testing::Test {
protected:
    void SetUp() override
    {
        window = MakeWindow("Test", 0, 0, 400, 300, nullptr, DialogStyle);
        window->SetShow(1);
        area = dynamic_cast<TTextArea*>(MakeTextArea(0, 0, 400, 300, window, 0));
        ASSERT_NE(area, nullptr);
        area->SetFont(LibraryFont(FontKind::Monospaced, 10, 0));
        area->SetTabs(4);
        area->SetFilter(RecordingFilter, &log);
        ProcessPlatformInput();
        EventQueue.Clear();
    }

    void TearDown() override
    {
        window->Free();
        EventQueue.Clear();
    }

    // The events the text area reported since the last call, in order.
    std::vector<TEvent> ReportedEvents()
    {
        std::vector<TEvent> events;
        while (EventQueue.Count()) {
            EventQueue.Poll();
            if (EventQueue.Current().source == area)
                events.push_back(EventQueue.Current());
        }
        return events;
    }

    std::vector<int> Reported()
    {
        std::vector<int> ids;
        for (const TEvent& event : ReportedEvents())
            ids.push_back(event.id);
        return ids;
    }

    QWidget* View() const { return area->View(); }
    QWidget* Viewport() const { return area->View()->viewport(); }
    // The middle of the character cell at a position, in viewport pixels.
    QPoint PointInside(int pos) const
    {
        const QPoint start = area->View()->PointOfPosition(pos);
        const QPoint next = area->View()->PointOfPosition(pos + 1);
        return { (start.x() + next.x()) / 2, start.y() + area->View()->LineHeight() / 2 };
    }
    // A mouse event as the platform sends it, with the buttons held after it.
    void Mouse(QEvent::Type type, QPoint point, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, point, Viewport()->mapToGlobal(point), button, held, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &event);
    }
    TSelection Selection() const { return { area->GetCursorPos(Chars), area->GetSelectionLength(Chars) }; }

    TGadget* window = nullptr;
    TTextArea* area = nullptr;
    FilterLog log;
};

const std::vector<int> SelectAndAction { Event::GadgetSelect, Event::GadgetAction };
const std::vector<int> SelectOnly { Event::GadgetSelect };
const std::vector<int> Nothing {};

TEST_F(TextAreaTest, AFilterSwallowingTabKeepsTheTabOut)
{
    area->SetText("ab");
    area->SetSelection(1, 0, Chars);
    log.decide = [](const TEvent& e) { return e.id == Event::KeyChar && e.data == 9 ? 0 : 1; };
    QTest::keyClick(View(), Qt::Key_Tab);
    EXPECT_EQ(area->GetText(), "ab");
    EXPECT_EQ(Reported(), Nothing);
    ASSERT_EQ(log.seen.size(), 2u);
    EXPECT_EQ(log.seen[0].id, Event::KeyDown);
    EXPECT_EQ(log.seen[0].code, 9);
    EXPECT_EQ(log.seen[1].id, Event::KeyChar);
    EXPECT_EQ(log.seen[1].code, 9);

    log.decide = nullptr;
    QTest::keyClick(View(), Qt::Key_Tab);
    EXPECT_EQ(area->GetText(), "a\tb");
    EXPECT_EQ(Reported(), SelectAndAction);
}

TEST_F(TextAreaTest, ShiftTabReachesTheFilterAsTabWithShift)
{
    QTest::keyClick(View(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(log.seen.size(), 2u);
    EXPECT_EQ(log.seen[0].id, Event::KeyDown);
    EXPECT_EQ(log.seen[0].code, 9);
    EXPECT_EQ(log.seen[0].mods, Modifier::Shift);
    EXPECT_EQ(log.seen[1].id, Event::KeyChar);
    EXPECT_EQ(log.seen[1].code, 9);
    EXPECT_EQ(log.seen[1].mods, Modifier::Shift);
    EXPECT_EQ(area->GetText(), "\t");
}

TEST_F(TextAreaTest, EnterBreaksTheLineAtItsKeyDown)
{
    area->SetText("abcd");
    area->SetSelection(1, 2, Chars);
    log.decide = [](const TEvent& e) { return e.id == Event::KeyDown && e.data == 13 ? 0 : 1; };
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(area->GetText(), "abcd");
    ASSERT_EQ(log.seen.size(), 1u); // a swallowed key-down has no character after it
    EXPECT_EQ(Reported(), Nothing);

    log.seen.clear();
    log.decide = nullptr;
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(area->GetText(), "a\nd");
    EXPECT_EQ(area->GetCursorPos(Chars), 2);
    ASSERT_EQ(log.seen.size(), 2u);
    EXPECT_EQ(log.seen[0].text, "abcd");
    EXPECT_EQ(log.seen[1].id, Event::KeyChar);
    EXPECT_EQ(log.seen[1].code, 13);
    EXPECT_EQ(log.seen[1].text, "a\nd");
    EXPECT_EQ(Reported(), SelectAndAction);
}

TEST_F(TextAreaTest, UserEditsReportActionAndSelect)
{
    area->SetText("hello");
    area->SetSelection(5, 0, Chars);
    QTest::keyClick(View(), Qt::Key_X);
    EXPECT_EQ(area->GetText(), "hellox");
    EXPECT_EQ(Reported(), SelectAndAction);

    // The filter sees Backspace and Delete before anything is deleted.
    log.seen.clear();
    QTest::keyClick(View(), Qt::Key_Backspace);
    EXPECT_EQ(area->GetText(), "hello");
    ASSERT_EQ(log.seen.size(), 2u);
    EXPECT_EQ(log.seen[0].code, 8);
    EXPECT_EQ(log.seen[0].text, "hellox");
    EXPECT_EQ(Reported(), SelectAndAction);

    area->SetSelection(1, 2, Chars);
    QTest::keyClick(View(), Qt::Key_Delete);
    EXPECT_EQ(area->GetText(), "hlo");
    EXPECT_EQ(Reported(), SelectAndAction);

    QTest::keyClick(View(), Qt::Key_Right);
    EXPECT_EQ(area->GetCursorPos(Chars), 2);
    EXPECT_EQ(Reported(), SelectOnly);
    // Nothing to delete at the end: nothing changed, nothing reported.
    QTest::keyClick(View(), Qt::Key_End);
    Reported();
    QTest::keyClick(View(), Qt::Key_Delete);
    EXPECT_EQ(Reported(), Nothing);
}

TEST_F(TextAreaTest, ProgrammaticChangesReportNothingAndKeepTheCaret)
{
    area->SetText("abcdef\nghi");
    area->SetSelection(4, 0, Chars);
    area->SetStyle(255, 0, 0, 1, 0, 6, Chars);
    EXPECT_EQ(area->GetCursorPos(Chars), 4);
    EXPECT_TRUE(area->ReplaceText(2, 0, "xyz", Chars));
    EXPECT_EQ(area->GetCursorPos(Chars), 4);
    area->SetSelection(0, 1, TextUnit::Lines);
    EXPECT_EQ(area->GetSelectionLength(Chars), 10);
    area->AddText("!");
    EXPECT_EQ(area->GetCursorPos(Chars), area->AreaLen(Chars));
    area->SetTextColor(1, 2, 3);
    EXPECT_EQ(Reported(), Nothing);
    EXPECT_EQ(area->GetText(), "abxyzcdef\nghi!");
}

TEST_F(TextAreaTest, AlignmentAndFontSizeKeysAreSwallowedBeforeTheFilter)
{
    area->SetText("text");
    QTest::keyClick(View(), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(View(), Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(View(), Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(View(), Qt::Key_Less, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(View(), Qt::Key_Greater, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(log.seen.empty());
    EXPECT_EQ(area->GetText(), "text");
    EXPECT_EQ(Reported(), Nothing);
    // Ctrl with another letter is offered, as key-down and as its control character.
    QTest::keyClick(View(), Qt::Key_K, Qt::ControlModifier);
    ASSERT_EQ(log.seen.size(), 2u);
    EXPECT_EQ(log.seen[1].code, 11);
    EXPECT_EQ(area->GetText(), "text");
}

TEST_F(TextAreaTest, AReadOnlyAreaTakesOnlyNavigationAndCopy)
{
    auto* readOnly = dynamic_cast<TTextArea*>(MakeTextArea(0, 0, 200, 100, window, TTextArea::StyleReadOnly));
    ASSERT_NE(readOnly, nullptr);
    readOnly->SetFilter(RecordingFilter, &log);
    readOnly->SetText("one two");
    QWidget* view = readOnly->View();
    QTest::keyClick(view, Qt::Key_A);
    QTest::keyClick(view, Qt::Key_Delete);
    QTest::keyClick(view, Qt::Key_Return);
    QGuiApplication::clipboard()->setText("pasted");
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(readOnly->GetText(), "one two");
    EXPECT_TRUE(log.seen.empty());

    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(readOnly->GetCursorPos(Chars), 1);
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(readOnly->GetSelectionLength(Chars), 7);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "one two");
    readOnly->Activate(ActivateCommand::Cut);
    EXPECT_EQ(readOnly->GetText(), "one two");
    EXPECT_TRUE(log.seen.empty());
}

TEST_F(TextAreaTest, PasteCountsEachLineBreakOnce)
{
    area->SetText("[]");
    area->SetSelection(1, 0, Chars);
    QGuiApplication::clipboard()->setText("a\r\nb\r\nc");
    area->Activate(ActivateCommand::Paste);
    EXPECT_EQ(area->GetText(), "[a\nb\nc]");
    EXPECT_EQ(area->GetCursorPos(Chars), 6);
    EXPECT_EQ(Reported(), SelectAndAction);

    // A line break at the very end of the clipboard arrives too.
    QGuiApplication::clipboard()->setText("x\r");
    area->Activate(ActivateCommand::Paste);
    EXPECT_EQ(area->GetText(), "[a\nb\ncx\n]");
}

TEST_F(TextAreaTest, TypingOrPastingPastCapacityIsRefusedWhole)
{
    area->SetText(QString(TTextArea::Capacity - 3, QChar(u'x')));
    area->SetSelection(0, 0, Chars);
    QGuiApplication::clipboard()->setText("abcd");
    area->Activate(ActivateCommand::Paste);
    EXPECT_EQ(area->AreaLen(Chars), TTextArea::Capacity - 3);
    EXPECT_EQ(area->AreaText(0, 4, Chars), "xxxx");
    EXPECT_EQ(Reported(), Nothing);

    QGuiApplication::clipboard()->setText("abc");
    area->Activate(ActivateCommand::Paste);
    EXPECT_EQ(area->AreaLen(Chars), TTextArea::Capacity);
    Reported();
    QTest::keyClick(View(), Qt::Key_Z);
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(area->AreaLen(Chars), TTextArea::Capacity);
    EXPECT_EQ(area->AreaText(0, 4, Chars), "abcx");
    EXPECT_EQ(Reported(), Nothing);
    EXPECT_FALSE(area->ReplaceText(0, 0, "!", Chars));
}

TEST_F(TextAreaTest, CutReportsAnActionAndCopyDoesNot)
{
    area->SetText("alpha beta");
    area->SetSelection(0, 6, Chars);
    QGuiApplication::clipboard()->setText("old");
    area->Activate(ActivateCommand::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "alpha ");
    EXPECT_EQ(Reported(), Nothing);
    area->Activate(ActivateCommand::Cut);
    EXPECT_EQ(area->GetText(), "beta");
    EXPECT_EQ(Reported(), SelectAndAction);
}

TEST_F(TextAreaTest, ALockedAreaReportsNothingAndUnlockingRestoresTheSelection)
{
    area->SetText("abc");
    area->SetSelection(1, 1, Chars);
    area->LockText();
    area->LockText();
    QTest::keyClick(View(), Qt::Key_Q);
    EXPECT_EQ(area->GetText(), "aqc");
    area->UnlockText();
    QTest::keyClick(View(), Qt::Key_Right);
    EXPECT_EQ(Reported(), Nothing);
    area->UnlockText();
    EXPECT_EQ(area->GetCursorPos(Chars), 1);
    EXPECT_EQ(area->GetSelectionLength(Chars), 1);
    EXPECT_EQ(Reported(), Nothing);
    QTest::keyClick(View(), Qt::Key_Right);
    EXPECT_EQ(Reported(), SelectOnly);
}

TEST_F(TextAreaTest, KeyboardMovesTheCaretByCharacterWordAndLine)
{
    area->SetText(QString::fromUtf16(u"local alpha = beta\nab\nx\U0001F600y"));
    area->SetSelection(0, 0, Chars);
    QTest::keyClick(View(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(area->GetCursorPos(Chars), 6);
    QTest::keyClick(View(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(area->GetCursorPos(Chars), 6);
    EXPECT_EQ(area->GetSelectionLength(Chars), 6);
    QTest::keyClick(View(), Qt::Key_Left);
    EXPECT_EQ(area->GetCursorPos(Chars), 6);
    EXPECT_EQ(area->GetSelectionLength(Chars), 0);
    QTest::keyClick(View(), Qt::Key_End);
    EXPECT_EQ(area->GetCursorPos(Chars), 18);
    // Down keeps aiming for the column it started from across a shorter line.
    area->SetSelection(3, 0, Chars);
    QTest::keyClick(View(), Qt::Key_Down);
    EXPECT_EQ(area->GetCursorPos(Chars), 21);
    QTest::keyClick(View(), Qt::Key_Up);
    EXPECT_EQ(area->GetCursorPos(Chars), 3);
    QTest::keyClick(View(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(area->GetCursorPos(Chars), area->AreaLen(Chars));
    QTest::keyClick(View(), Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(area->GetCursorPos(Chars), 22);
    EXPECT_EQ(area->GetSelectionLength(Chars), 4);

    // A surrogate pair is passed and deleted as one character.
    area->SetSelection(23, 0, Chars);
    QTest::keyClick(View(), Qt::Key_Right);
    EXPECT_EQ(area->GetCursorPos(Chars), 25);
    QTest::keyClick(View(), Qt::Key_Left);
    EXPECT_EQ(area->GetCursorPos(Chars), 23);
    area->SetSelection(25, 0, Chars);
    QTest::keyClick(View(), Qt::Key_Backspace);
    EXPECT_EQ(area->AreaText(2, 1, TextUnit::Lines), "xy");
}

TEST_F(TextAreaTest, MouseClicksPlaceSelectAndAskForTheMenu)
{
    area->SetText("first line\nsecond words here");
    area->SetSelection(0, 0, Chars);
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, PointInside(13) - QPoint(3, 0));
    EXPECT_EQ(area->GetCursorPos(Chars), 13);
    EXPECT_EQ(Reported(), SelectOnly);

    // Dragging selects from where the button went down.
    QTest::mousePress(Viewport(), Qt::LeftButton, {}, PointInside(2) - QPoint(3, 0));
    QTest::mouseMove(Viewport(), PointInside(6) - QPoint(3, 0));
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, PointInside(6) - QPoint(3, 0));
    EXPECT_EQ(area->GetCursorPos(Chars), 2);
    EXPECT_EQ(area->GetSelectionLength(Chars), 4);
    Reported();

    QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, PointInside(19));
    EXPECT_EQ(area->GetCursorPos(Chars), 18);
    EXPECT_EQ(area->GetSelectionLength(Chars), 5);
    Reported();

    // With a selection the right button leaves the caret alone; without one it moves it first.
    QTest::mouseClick(Viewport(), Qt::RightButton, {}, PointInside(2));
    EXPECT_EQ(area->GetCursorPos(Chars), 18);
    EXPECT_EQ(Reported(), std::vector<int> { Event::GadgetMenu });
    area->SetSelection(0, 0, Chars);
    const QPoint point = PointInside(2) - QPoint(3, 0);
    QTest::mouseClick(Viewport(), Qt::RightButton, {}, point);
    EXPECT_EQ(area->GetCursorPos(Chars), 2);
    const auto events = ReportedEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].id, Event::GadgetSelect);
    EXPECT_EQ(events[1].id, Event::GadgetMenu);
    EXPECT_EQ(events[1].x, point.x());
    EXPECT_EQ(events[1].y, point.y());
}

TEST_F(TextAreaTest, AClickNeverPlacesTheCaretInsideACluster)
{
    // Stops: before a, before the accented e, before the skin-toned thumb, before b, at the end.
    area->SetText(QString::fromUtf16(u"ae\u0301\U0001F44D\U0001F3FDb"));
    const std::vector<int> stops { 0, 1, 3, 7, 8 };
    const int right = area->View()->PointOfPosition(8).x() + 10;
    const int y = area->View()->LineHeight() / 2;
    // Left to right, the clicks reach every stop in order, never going back.
    std::vector<int> reached;
    for (int x = 0; x < right; x += 2) {
        QTest::mouseClick(Viewport(), Qt::LeftButton, {}, QPoint(x, y));
        const int pos = area->GetCursorPos(Chars);
        EXPECT_NE(std::find(stops.begin(), stops.end(), pos), stops.end()) << "x " << x << " gives " << pos;
        if (reached.empty() || pos != reached.back())
            reached.push_back(pos);
    }
    EXPECT_EQ(reached, stops);
}

TEST_F(TextAreaTest, ACombiningMarkIsDrawnOnItsLetterAndAJoinerDrawsNothing)
{
    area->SetColor(255, 255, 255);
    area->SetTextColor(0, 0, 0);
    area->SetText(QString::fromUtf16(u"e\u0301\ne\nab\na\u200Db\n"));
    area->SetSelection(area->AreaLen(Chars), 0, Chars); // the caret on a line of its own
    const QImage image = Viewport()->grab().toImage();
    const int height = area->View()->LineHeight();
    const auto inked = [&](int x, int y) { return image.pixelColor(x, y).lightness() < 200; };
    int letterTop = height;
    for (int y = 0; y < height && letterTop == height; ++y) {
        for (int x = 0; x < image.width(); ++x)
            letterTop = inked(x, height + y) ? y : letterTop;
    }
    // The accent is the ink that the plain letter's line lacks: all of it shows, above the letter and
    // within its cell.
    const int cellEnd = area->View()->PointOfPosition(2).x();
    int accent = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (inked(x, y) && !inked(x, height + y)) {
                ++accent;
                EXPECT_TRUE(y > 0 && y < letterTop && x < cellEnd) << "accent ink at " << x << ", " << y;
            }
        }
    }
    EXPECT_GE(accent, 3);
    EXPECT_EQ(image.copy(0, 3 * height, image.width(), height), image.copy(0, 2 * height, image.width(), height));
}

TEST_F(TextAreaTest, PaintsStyledTextSelectionAndBackground)
{
    area->SetColor(0, 0, 80);
    area->SetText("MMMMMMMM\nMMMMMMMM");
    area->SetStyle(255, 0, 0, 0, 0, 8, Chars);
    area->SetStyle(0, 255, 0, 1, 9, 8, Chars);
    area->SetSelection(0, 0, Chars);
    const QImage image = Viewport()->grab().toImage();
    const int height = area->View()->LineHeight();
    auto countPixels = [&](int top, auto test) {
        int count = 0;
        for (int y = top; y < top + height; ++y) {
            for (int x = 0; x < 120; ++x)
                count += test(image.pixelColor(x, y)) ? 1 : 0;
        }
        return count;
    };
    auto reddish = [](const QColor& c) { return c.red() > 150 && c.green() < 60; };
    auto greenish = [](const QColor& c) { return c.green() > 150 && c.red() < 60; };
    EXPECT_GT(countPixels(0, reddish), 20);
    EXPECT_EQ(countPixels(0, greenish), 0);
    EXPECT_GT(countPixels(height, greenish), 20);
    EXPECT_EQ(image.pixelColor(image.width() - 5, image.height() - 5), QColor(0, 0, 80));
    // The selection's highlight covers the selected cells.
    area->SetSelection(0, 4, Chars);
    const QImage selected = Viewport()->grab().toImage();
    const QColor highlight = View()->palette().color(QPalette::Highlight);
    EXPECT_EQ(selected.pixelColor(PointInside(1).x(), 1), highlight);
    EXPECT_EQ(selected.pixelColor(PointInside(6).x(), 1), QColor(0, 0, 80));
}

TEST_F(TextAreaTest, TheHorizontalRangeFollowsTheWidestLineWhenItShrinksOrGoes)
{
    // The range a text area of the same size gives the edited text from the start.
    TTextArea* fresh = dynamic_cast<TTextArea*>(MakeTextArea(0, 0, 400, 300, window, 0));
    fresh->SetFont(LibraryFont(FontKind::Monospaced, 10, 0));
    fresh->SetTabs(4);
    const auto range = [](TTextArea* of) {
        ProcessPlatformInput();
        return of->View()->horizontalScrollBar()->maximum();
    };
    const auto press = [this](Qt::Key key, int times) {
        return [=, this] {
            for (int i = 0; i < times; ++i)
                QTest::keyClick(View(), key);
        };
    };
    const QString longest(90, QLatin1Char('w'));
    const QString other(60, QLatin1Char('o'));
    const QString two = other + "\n" + other;
    struct Case {
        const char* name;
        QString text;
        int caret;
        std::function<void()> edit;
        int direction; // of the range: -1 narrower, 0 the same, 1 wider
    };
    const Case cases[] = {
        { "Backspace shortens the widest line", other + "\n" + longest + "\n" + other, 151,
            press(Qt::Key_Backspace, 40), -1 },
        { "the widest line is deleted", other + "\n" + longest + "\n" + other, 61,
            [this] {
                area->SetSelection(61, 91, Chars);
                QTest::keyClick(View(), Qt::Key_Delete);
            },
            -1 },
        { "the program shortens it", longest + "\n" + other, 0, [this] { area->ReplaceText(10, 50, "", Chars); }, -1 },
        { "one of two widest lines shortened", longest + "\n" + longest, 0,
            [this] { area->ReplaceText(10, 50, "", Chars); }, 0 },
        { "a tab-indented line is the widest", other + "\n\t\t\t\t\t\t\t\t\t\t\t\t" + other, 73,
            press(Qt::Key_Backspace, 8), -1 },
        { "Backspace joins two lines", two, 61, press(Qt::Key_Backspace, 1), 1 },
        { "a line break splits the widest line", longest, 45, press(Qt::Key_Return, 1), -1 },
        { "the whole text replaced", longest, 0, [this] { area->SetText("short"); }, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        area->SetText(c.text);
        area->SetSelection(c.caret, 0, Chars);
        const int before = range(area);
        ASSERT_GT(before, 0);
        c.edit();
        fresh->SetText(area->GetText());
        const int after = range(area);
        EXPECT_EQ(after, range(fresh));
        EXPECT_EQ(after > before ? 1 : after < before ? -1 : 0, c.direction) << before << " -> " << after;
    }
}

TEST_F(TextAreaTest, LosingTheFocusIsReported)
{
    TGadget* field = MakeTextField(0, 0, 100, 20, window, 0);
    area->Activate(ActivateCommand::Focus);
    ProcessPlatformInput();
    ASSERT_TRUE(View()->hasFocus());
    Reported();
    field->Activate(ActivateCommand::Focus);
    ProcessPlatformInput();
    EXPECT_EQ(Reported(), std::vector<int> { Event::GadgetLostFocus });
}

TEST_F(TextAreaTest, DraggingOnAfterADoubleClickSelectsWholeWordsEitherWay)
{
    area->SetText("alpha beta gamma\ndelta epsilon");
    Mouse(QEvent::MouseButtonPress, PointInside(7), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, PointInside(7), Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonDblClick, PointInside(7), Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(Selection(), (TSelection { 6, 4 }));
    const struct {
        const char* name;
        QPoint pointer;
        TSelection selection;
    } moves[] = {
        { "into the next word", PointInside(13), { 6, 10 } },
        { "back into the first word", PointInside(2), { 0, 10 } },
        { "down into the next line", PointInside(25), { 6, 24 } },
        { "back into the double-clicked word", PointInside(8), { 6, 4 } },
        { "past the end of the line", PointInside(15) + QPoint(200, 0), { 6, 10 } },
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(move.name);
        Mouse(QEvent::MouseMove, move.pointer, Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(Selection(), move.selection);
    }
    Mouse(QEvent::MouseButtonRelease, PointInside(15), Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseMove, PointInside(2), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Selection(), (TSelection { 6, 10 }));
}

TEST_F(TextAreaTest, APressOnTheSelectionDragsItOnlyPastTheDragDistanceAndIsElseAClick)
{
    area->SetText("one two three");
    area->SetSelection(4, 3, Chars);
    QStringList dragged;
    area->View()->SetDragRunner([&](QDrag& drag) {
        dragged << drag.mimeData()->text();
        return Qt::IgnoreAction;
    });
    const QPoint on = PointInside(5) - QPoint(3, 0);
    QTest::mousePress(Viewport(), Qt::LeftButton, {}, on);
    QTest::mouseMove(Viewport(), on + QPoint(2, 0));
    EXPECT_TRUE(dragged.isEmpty());
    QTest::mouseMove(Viewport(), on + QPoint(0, QApplication::startDragDistance()));
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, on);
    EXPECT_EQ(dragged, QStringList { "two" });
    EXPECT_EQ(Selection(), (TSelection { 4, 3 }));

    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, on);
    EXPECT_EQ(Selection(), (TSelection { 5, 0 }));
    EXPECT_EQ(dragged.size(), 1);
}

TEST_F(TextAreaTest, TextDraggedOverTheAreaShowsWhereItWouldGoUnlessTheAreaCannotTakeIt)
{
    area->SetText("ab\n\ncd");
    area->SetSelection(0, 0, Chars);
    QMimeData text;
    text.setText("x\r\ny");
    const QPoint emptyLine = area->View()->PointOfPosition(3) + QPoint(0, area->View()->LineHeight() / 2);
    QDragEnterEvent enter(emptyLine, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Viewport(), &enter);
    EXPECT_NE(Viewport()->grab().toImage().pixelColor(emptyLine), QColor(Qt::white));
    QDragLeaveEvent leave;
    QApplication::sendEvent(Viewport(), &leave);
    EXPECT_EQ(Viewport()->grab().toImage().pixelColor(emptyLine), QColor(Qt::white));

    QMimeData image;
    image.setData("image/png", "png");
    EXPECT_EQ(DropAt(Viewport(), PointInside(1), &image), Qt::IgnoreAction);
    auto* readOnly = dynamic_cast<TTextArea*>(MakeTextArea(0, 0, 200, 100, window, TTextArea::StyleReadOnly));
    readOnly->SetText("ro");
    DropAt(readOnly->View()->viewport(), QPoint(1, 1), &text);
    EXPECT_EQ(readOnly->GetText(), "ro");
    EXPECT_EQ(area->GetText(), "ab\n\ncd");
}

TEST_F(TextAreaTest, TextDraggedToAnEdgeScrollsTheAreaUntilItLeavesTheEdge)
{
    QStringList lines;
    for (int line = 0; line < 300; ++line)
        lines << QStringLiteral("line %1").arg(line);
    area->SetText(lines.join(QLatin1Char('\n')));
    area->SetSelection(0, 0, Chars);
    QMimeData text;
    text.setText("x");
    const QPoint bottom(20, Viewport()->height() - 2);
    QDragEnterEvent enter(bottom, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Viewport(), &enter);
    // The pointer rests: no more move events come, yet the text scrolls on.
    const int visibleLines = Viewport()->height() / area->View()->LineHeight();
    QTRY_VERIFY_WITH_TIMEOUT(area->View()->TopLine() >= visibleLines, 10000);
    const QPoint middle(20, Viewport()->height() / 2);
    QDragMoveEvent move(middle, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Viewport(), &move);
    const int top = area->View()->TopLine();
    QTest::qWait(200);
    EXPECT_EQ(area->View()->TopLine(), top);
    QDropEvent drop(middle, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Viewport(), &drop);
    // Dropped where the pointer is, on a line that was out of sight when the drag came in.
    EXPECT_EQ(area->LineAt(area->GetCursorPos(Chars)), top + middle.y() / area->View()->LineHeight());
    EXPECT_EQ(area->View()->TopLine(), top);
}

// The platform must have a primary selection: run on X (a second run of this test does).
TEST_F(TextAreaTest, SelectedTextIsThePrimarySelectionAndTheMiddleButtonPastesIt)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        GTEST_SKIP() << "no primary selection on this platform";
    area->SetText("one two");
    area->SetSelection(0, 0, Chars);
    QTest::keyClick(View(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(clipboard->text(QClipboard::Selection), "one ");
    // Collapsing the selection leaves its text on offer, and text typed before it moves it along.
    QTest::keyClick(View(), Qt::Key_Home);
    QTest::keyClick(View(), Qt::Key_Z);
    EXPECT_EQ(clipboard->text(QClipboard::Selection), "one ");
    Reported();
    QTest::mouseClick(Viewport(), Qt::MiddleButton, {}, PointInside(5) - QPoint(3, 0));
    EXPECT_EQ(area->GetText(), "zone one two");
    EXPECT_EQ(Selection(), (TSelection { 9, 0 }));
    EXPECT_EQ(Reported(), SelectAndAction);
    // Once its text is edited, it is no longer offered.
    QTest::keyClick(View(), Qt::Key_Home);
    QTest::keyClick(View(), Qt::Key_Delete);
    QTest::keyClick(View(), Qt::Key_Delete);
    EXPECT_EQ(clipboard->text(QClipboard::Selection), "");
}
} // namespace

namespace {
// Marks are painted beside the colouring, which never touches them, tell their text under the pointer,
// and every change of the text or the selection is told to subscribers once, the program's included.
TEST_F(TextAreaTest, DecorationsArePaintedAndChangesAreToldOnce)
{
    area->SetText("MMMMMMMM\nMMMMMMMM");
    area->SetIndicators(DecorationLayer::Diagnostics,
        { { 2, 4, TIndicatorKind::Tint, 0xFF00C000, "green tint" },
            { 9, 12, TIndicatorKind::Box, 0xFFFF0000, "red box" } });
    area->SetStyle(0, 0, 255, 0, 0, -1, Chars); // recolouring everything
    const QImage image = Viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(PointInside(3).x(), 1), QColor(0, 192, 0)) << "the tint under the text";
    EXPECT_NE(image.pixelColor(PointInside(6).x(), 1), QColor(0, 192, 0));
    const QPoint boxed = area->View()->PointOfPosition(10);
    EXPECT_EQ(image.pixelColor(boxed.x(), boxed.y()), QColor(255, 0, 0)) << "the frame's top edge";
    EXPECT_EQ(area->View()->TooltipAt(PointInside(10)), "red box");
    EXPECT_EQ(area->View()->TooltipAt(PointInside(6)), "");

    std::vector<TAreaChange> heard;
    const int subscription = area->Subscribe([&heard](const TAreaChange& change) { heard.push_back(change); });
    area->ReplaceText(0, 1, "xy", Chars);
    area->SetSelection(5, 2, Chars);
    area->SetSelection(5, 2, Chars); // no change, nothing told
    {
        TChangeBatch batch(area);
        area->ReplaceText(10, 0, "a", Chars);
        area->ReplaceText(0, 0, "b", Chars);
    }
    QTest::keyClick(View(), Qt::Key_Right);
    area->Unsubscribe(subscription);
    area->ReplaceText(0, 0, "c", Chars);
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_TRUE(heard[0].text);
    EXPECT_EQ(heard[0].span, (TChangedSpan { 0, 1, 2 }));
    EXPECT_FALSE(heard[1].text);
    EXPECT_TRUE(heard[1].selection);
    EXPECT_EQ(heard[2].span, (TChangedSpan { 0, 10, 12 })) << "a batch is told as one span";
    EXPECT_TRUE(heard[3].selection && !heard[3].text) << "a key the user pressed";
}

// With word wrap a long line shows as rows that the caret keys, the mouse and the scroll range follow;
// a narrower area wraps it into more rows.
TEST_F(TextAreaTest, WrappedLinesAreRowsForTheKeysTheMouseAndTheScrollRange)
{
    TViewOptions options = area->ViewOptions();
    options.wordWrap = true;
    area->SetViewOptions(options);
    QString words;
    for (int i = 0; i < 60; ++i)
        words += QStringLiteral("word%1 ").arg(i % 10);
    area->SetText("top\n" + words.trimmed() + "\nend");
    const int first = 4;
    const int last = first + static_cast<int>(words.trimmed().size());
    TTextView* view = area->View();
    const int height = view->LineHeight();
    // Where the long line's rows start, as the view places its positions.
    const auto rowStarts = [&] {
        std::vector<int> starts { first };
        for (int pos = first + 1; pos <= last; ++pos) {
            if (view->PointOfPosition(pos).y() > view->PointOfPosition(pos - 1).y())
                starts.push_back(pos);
        }
        return starts;
    };
    const auto expectRowsFit = [&](const std::vector<int>& starts) {
        for (std::size_t k = 0; k < starts.size(); ++k) {
            EXPECT_EQ(view->PointOfPosition(starts[k]).y(), (1 + static_cast<int>(k)) * height);
            EXPECT_EQ(area->AreaText(starts[k] - 1, 1, Chars), k == 0 ? "\n" : " ") << "a row starts a word";
            const int end = k + 1 < starts.size() ? starts[k + 1] - 1 : last;
            EXPECT_LE(view->PointOfPosition(end).x(), Viewport()->width());
        }
        EXPECT_EQ(view->RowCount(), static_cast<int>(starts.size()) + 2);
        EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(view->verticalScrollBar()->maximum(), std::max(0, view->RowCount() - Viewport()->height() / height));
    };
    const std::vector<int> rows = rowStarts();
    ASSERT_GE(rows.size(), 3u);
    expectRowsFit(rows);

    // Up and Down keep the column across rows; Home and End go to a row's edges, pressed again to the
    // line's; the caret at a wrap point shows at the start of the next row.
    struct Step {
        int from;
        Qt::Key key;
        int to;
    };
    const Step steps[] = {
        { rows[1] + 2, Qt::Key_Up, rows[0] + 2 },
        { rows[0] + 2, Qt::Key_Down, rows[1] + 2 },
        { first + 2, Qt::Key_Up, 2 },
        { rows.back() + 1, Qt::Key_Down, last + 2 },
        { rows[1] + 2, Qt::Key_Home, rows[1] },
        { rows[1], Qt::Key_Home, first },
        { rows[0] + 2, Qt::Key_End, rows[1] - 1 },
        { rows[1] - 1, Qt::Key_End, last },
        { rows[0] + 2, Qt::Key_PageDown, last + 3 },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "key " << step.key << " from " << step.from);
        area->SetSelection(step.from, 0, Chars);
        QTest::keyClick(View(), step.key);
        EXPECT_EQ(area->GetCursorPos(Chars), step.to);
    }

    // A click on the second row, and one past its end, stay on it.
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, PointInside(rows[1] + 3) - QPoint(3, 0));
    EXPECT_EQ(area->GetCursorPos(Chars), rows[1] + 3);
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, QPoint(Viewport()->width() - 1, 2 * height + height / 2));
    EXPECT_EQ(area->GetCursorPos(Chars), rows[2] - 1);
    // Dragging from the first row onto the second selects across the wrap point.
    QTest::mousePress(Viewport(), Qt::LeftButton, {}, PointInside(rows[0] + 1) - QPoint(3, 0));
    QTest::mouseMove(Viewport(), PointInside(rows[1] + 1) - QPoint(3, 0));
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, PointInside(rows[1] + 1) - QPoint(3, 0));
    EXPECT_EQ(Selection(), (TSelection { rows[0] + 1, rows[1] - rows[0] }));
    // Painted where it is laid out: the selection's band runs from the end of the first row onto the
    // start of the second, and the second row's first word is inked at the left, not past the edge.
    const QImage painted = Viewport()->grab().toImage();
    const QColor highlight = View()->palette().color(QPalette::Highlight);
    const auto cellTop
        = [&](int pos) { return painted.pixelColor(PointInside(pos).x(), view->PointOfPosition(pos).y() + 1); };
    EXPECT_EQ(cellTop(rows[1] - 2), highlight);
    EXPECT_EQ(cellTop(rows[1]), highlight);
    EXPECT_NE(cellTop(rows[1] + 2), highlight);
    const QPoint wordStart = view->PointOfPosition(rows[1] + 1);
    const QColor paper = painted.pixelColor(wordStart.x(), wordStart.y() + 1);
    int ink = 0;
    for (int y = wordStart.y(); y < wordStart.y() + height; ++y) {
        for (int x = wordStart.x(); x < view->PointOfPosition(rows[1] + 4).x(); ++x)
            ink += painted.pixelColor(x, y) != paper ? 1 : 0;
    }
    EXPECT_GT(ink, 10) << "the second row's word is drawn on the second row";

    view->resize(view->width() / 2, 4 * height);
    const std::vector<int> narrower = rowStarts();
    EXPECT_GT(narrower.size(), rows.size());
    expectRowsFit(narrower);
    EXPECT_GT(view->verticalScrollBar()->maximum(), 0);
}
} // namespace

// A swatch takes a room of its own before its code, drawn in its colour; the caret before the code stands
// after the room, and Ctrl and a click on the swatch or the code tell the program which one.
TEST_F(TextAreaTest, ASwatchTakesRoomBeforeItsCodeAndACtrlClickReportsIt)
{
    area->SetColor(255, 255, 255);
    const QString line = QStringLiteral("a = \"\u00A9255000000x\"");
    area->SetText(line + "\n" + line);
    TTextView* view = area->View();
    const int code = 5; // the "©" of the first line
    const int second = static_cast<int>(line.size()) + 1;
    const auto x = [view](int pos) { return view->PointOfPosition(pos).x(); };
    const int before = x(code);
    const int charBefore = x(code - 1);
    area->SetIndicators(
        DecorationLayer::Swatches, { { code, code + 10, TIndicatorKind::Swatch, 0xFF00FF00, "0, 255, 0" } });
    const int room = x(code) - before;
    EXPECT_GE(room, 8);
    EXPECT_EQ(x(code - 1), charBefore) << "the text before the code stays";
    EXPECT_EQ(x(second + code), before) << "the other line keeps its layout";
    const QPoint top = view->PointOfPosition(code);
    const int middle = top.y() + view->LineHeight() / 2;
    EXPECT_EQ(Viewport()->grab().toImage().pixelColor(top.x() - room / 2, middle), QColor(0, 255, 0));

    std::vector<int> clicked;
    area->OnSwatchClick([&clicked](const TIndicator& swatch) { clicked.push_back(swatch.start); });
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(top.x() - room / 2, middle));
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::ControlModifier, PointInside(code + 4));
    EXPECT_EQ(clicked, (std::vector<int> { code, code }));
    QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(x(code + 11) + 1, middle)); // past it
    EXPECT_EQ(clicked.size(), 2u);
    EXPECT_EQ(area->GetCursorPos(Chars), code + 11) << "a Ctrl+click elsewhere places the caret";

    area->ReplaceText(0, 0, "b", Chars); // an edit carries the swatch along
    // Pixels are whole where positions are not: a pixel either way.
    EXPECT_NEAR(x(code + 1) - x(second + 1 + code), x(1) - x(0) + room, 1);
    area->SetIndicators(DecorationLayer::Swatches, {});
    EXPECT_NEAR(x(code + 1) - x(second + 1 + code), x(1) - x(0), 1) << "without the swatch the room goes";
}
