// The mouse on the script's text area: drag and drop of text and the right-click menu, with their undo
// steps and colouring.
#include "AppFixture.h"

#include "settings/WSettings.h"
#include "support/DropEvents.h"

#include <QDrag>
#include <QMimeData>

#include <utility>
#include <vector>

namespace {
using Editor = TApplication;

class MouseTest : public AppFixture {
protected:
    TTextView* TextView() const { return Area()->View(); }
    QWidget* Viewport() const { return TextView()->viewport(); }
    // The gap before a position, halfway down its line.
    QPoint PointAt(int pos) const { return TextView()->PointOfPosition(pos) + QPoint(0, TextView()->LineHeight() / 2); }

    // Presses on the selection's first character, drags it away and drops it before `target`.
    std::function<void()> Dragging(int target, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        return [=, this] {
            TextView()->SetDragRunner(
                [=, this](QDrag& drag) { return DropAt(Viewport(), PointAt(target), drag.mimeData(), modifiers); });
            const QPoint on = PointAt(Cursor()) + QPoint(2, 0);
            QTest::mousePress(Viewport(), Qt::LeftButton, {}, on);
            QTest::mouseMove(Viewport(), on + QPoint(0, 3 * TextView()->LineHeight()));
            QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, on);
            TextView()->SetDragRunner(nullptr);
            Settle();
        };
    }
    // Right-clicks the text and chooses the item with the tag from the menu that pops up.
    std::function<void()> Choosing(int tag)
    {
        return [=, this] {
            system->popupAnswers = { tag };
            QTest::mouseClick(Viewport(), Qt::RightButton, {}, PointAt(0));
            Settle();
        };
    }
    std::function<void()> DroppingFromElsewhere(const QString& text, int target)
    {
        return [=, this] {
            QMimeData data;
            data.setText(text);
            DropAt(Viewport(), PointAt(target), &data);
            Settle();
        };
    }
};

TEST_F(MouseTest, MouseEditsLeaveUndoStepsThatTakeThemBackInOrder)
{
    const TEditCase edits[] = {
        // name, text, selection, action, edited text and selection, the last undo step, the text after one Undo
        { "moving text further on", "abcdef", { 1, 2 }, Dragging(5), "adebcf", { 3, 2 }, { 1, 0, "bc", 1, 2 },
            "abcdebcf", 2 },
        { "moving text back", "abcdef", { 3, 2 }, Dragging(1), "adebcf", { 1, 2 }, { 5, 0, "de", 5, 2 }, "adebcdef",
            2 },
        { "copying with Ctrl", "abcdef", { 1, 2 }, Dragging(5, Qt::ControlModifier), "abcdebcf", { 5, 2 },
            { 5, 2, "", 1, 2 }, "abcdef" },
        { "a drop from another program", "x\ny", { 2, 0 }, DroppingFromElsewhere("a\r\nb", 1), "xa\nb\ny", { 1, 3 },
            { 1, 3, "", 2, 0 }, "x\ny" },
        // The menu's Cut is the Edit menu's (Ctrl+X): the same step.
        { "Cut from the right-click menu", "hello world", { 0, 6 }, Choosing(Editor::M_CUT), "world", { 0, 0 },
            { 0, 0, "hello ", 0, 6 }, "hello world" },
    };
    for (const TEditCase& edit : edits)
        CheckEdit(edit);

    // Dropped inside itself, the text stays where it was.
    SetScript("abcdef", 1, 3);
    App->History->Clear();
    Dragging(2)();
    EXPECT_EQ(Script(), "abcdef");
    EXPECT_EQ(Recorded(), 0);
}

TEST_F(MouseTest, ADropColoursEveryLineItBrings)
{
    SetScript("x ", 2);
    DroppingFromElsewhere("if a then\nwhile b do\nend", 2)();
    const TPartColour keyword = App->wSettings->Values().Scheme()[TTokenClass::Keyword];
    for (int pos : { 2, 12, 23 }) {
        SCOPED_TRACE(pos);
        const TTextStyle& style = StyleAt(pos);
        EXPECT_EQ(QColor(style.r, style.g, style.b), QColor(keyword.R, keyword.G, keyword.B));
    }
}

TEST_F(MouseTest, TheRightClickMenuGreysTheCommandsThatCannotAct)
{
    struct Case {
        const char* name;
        QString script;
        TSelection selection;
        QString clipboard;
        bool edited;
        bool undo, redo, cut, copy, paste, all;
        bool undone = false;
    };
    const Case cases[] = {
        { "an empty new script", "", { 0, 0 }, "", false, false, false, false, false, false, false },
        { "a caret in text", "abc", { 1, 0 }, "", false, false, false, false, false, false, true },
        { "a selection, the clipboard and an edit", "abc", { 0, 2 }, "x", true, true, false, true, true, true, true },
        { "an undone edit", "abc", { 1, 0 }, "", true, false, true, false, false, false, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetScript(c.script, c.selection.pos, c.selection.length);
        App->History->Clear();
        if (c.edited)
            Type("z");
        if (c.undone)
            Undo();
        Select(c.selection.pos, c.selection.length);
        QGuiApplication::clipboard()->setText(c.clipboard);
        system->requests.clear();
        const QPoint point = PointAt(0);
        QTest::mouseClick(Viewport(), Qt::RightButton, {}, point);
        Settle();
        ASSERT_EQ(system->requests.size(), 1u);
        const TRecordedRequest& menu = system->requests[0];
        EXPECT_EQ(menu.kind, "PopupMenu");
        EXPECT_EQ(QPoint(menu.x, menu.y), Viewport()->mapToGlobal(point));
        const std::vector<std::pair<QString, bool>> items = { { "Undo", c.undo }, { "Redo", c.redo }, { "", true },
            { "Cut", c.cut }, { "Copy", c.copy }, { "Paste", c.paste }, { "", true }, { "Select All", c.all } };
        EXPECT_EQ(menu.items, items);
    }
}
} // namespace

namespace {
// A file manager's drag carries the file's URL, often as text too: the file opens, asking about
// unsaved changes as Load does, and its name never goes into the text. A web address is text.
TEST_F(MouseTest, ADroppedFileOpensAndADroppedAddressIsText)
{
    const QString path = folder.filePath("dropped file.lua");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("print('dropped')\n");
    file.close();
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(path) });
    data.setText(QUrl::fromLocalFile(path).toString());

    SetScript("mine");
    App->MarkModified();
    system->proceedAnswers = { 0 };
    EXPECT_EQ(DropAt(Viewport(), PointAt(0), &data), Qt::CopyAction);
    Settle();
    ASSERT_EQ(system->requests.size(), 1u);
    EXPECT_EQ(system->requests[0].text, "Load another script without saving current?");
    EXPECT_EQ(Script(), "mine");

    system->proceedAnswers = { 1 };
    DropAt(Viewport(), PointAt(0), &data);
    Settle();
    EXPECT_EQ(Script(), "print('dropped')");
    EXPECT_EQ(App->File, path);

    QMimeData address;
    address.setUrls({ QUrl("https://example.org/x.lua") });
    address.setText("https://example.org/x.lua");
    DropAt(Viewport(), PointAt(0), &address);
    Settle();
    EXPECT_EQ(Script(), "https://example.org/x.luaprint('dropped')");
}
} // namespace
