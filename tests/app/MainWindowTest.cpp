// The main window as Init builds it: title, status labels, menus, toolbar, geometry and resizing, and
// the hot keys that reach the loop from the text area. How ending the program treats unsaved work is
// in DocumentsTest.cpp.
#include "AppFixture.h"

#include "app/BracketMarks.h"

#include "gui/MenuGadget.h"
#include "gui/ScriptArea.h"
#include "gui/TextArea.h"
#include "gui/ToolbarGadget.h"
#include "settings/WSettings.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWheelEvent>

#include <functional>
#include <utility>
#include <vector>

namespace {
using Editor = TApplication;

struct ExpectedItem {
    QString label; // text, a tab and the shortcut; "" for a separator
    int tag;
};

struct ExpectedMenu {
    QString title;
    std::vector<ExpectedItem> items;
};

const std::vector<ExpectedMenu> Menus = {
    { "File",
        {
            { "&New\tCtrl+N", Editor::M_NEW },
            { "L&oad...\tCtrl+O", Editor::M_LOAD },
            { "&Save\tCtrl+S", Editor::M_SAVE },
            { "Save As...", Editor::M_SAVEAS },
            { "", 0 },
            { "&Encoding", 0 },
            { "&Recent Scripts", 0 },
            { "", 0 },
            { "Exit", Editor::M_EXIT },
        } },
    { "Edit",
        {
            { "Undo\tCtrl+Z", Editor::M_UNDO },
            { "Redo\tCtrl+Y", Editor::M_REDO },
            { "Group Typing in Undo", Editor::M_GROUP_TYPING },
            { "", 0 },
            { "Cut\tCtrl+X", Editor::M_CUT },
            { "&Copy\tCtrl+C", Editor::M_COPY },
            { "Paste\tCtrl+V", Editor::M_PASTE },
            { "", 0 },
            { "Select All\tCtrl+A", Editor::M_ALL },
            { "Select &Line\tCtrl+L", Editor::M_LINE },
            { "", 0 },
            { "Block Indent\tCtrl+]", Editor::M_BIN },
            { "Block Outdent\tCtrl+[, Shift+Tab", Editor::M_BOUT },
            { "", 0 },
            { "Find...\tCtrl+F", Editor::M_FIND },
            { "Find Next\tF3", Editor::M_FINDNEXT },
            { "Find Previous\tShift+F3", Editor::M_FINDPREV },
            { "Replace...\tCtrl+H", Editor::M_REPLACE },
            { "Go to Line...\tCtrl+G", Editor::M_GOTO },
            { "Complete\tCtrl+Space", Editor::M_COMPLETE },
        } },
    { "View",
        {
            { "&Line Numbers", Editor::M_LINE_NUMBERS },
            { "&Highlight Current Line", Editor::M_CURRENT_LINE },
            { "Show &Whitespace", Editor::M_WHITESPACE },
            { "Word Wra&p", Editor::M_WORD_WRAP },
            { "&Tab Width", 0 },
            { "", 0 },
            { "Zoom &In\tCtrl++", Editor::M_ZOOM_IN },
            { "Zoom &Out\tCtrl+-", Editor::M_ZOOM_OUT },
            { "&Reset Zoom\tCtrl+0", Editor::M_ZOOM_RESET },
            { "", 0 },
            { "&Problems\tCtrl+Shift+P", Editor::M_PROBLEMS },
            { "&Next Problem\tF8", Editor::M_NEXT_PROBLEM },
            { "Pre&vious Problem\tShift+F8", Editor::M_PREV_PROBLEM },
            { "&Outline\tCtrl+Shift+O", Editor::M_OUTLINE },
        } },
    { "Tool",
        {
            { "Insert Item ID\tCtrl+1", Editor::M_ITEMID },
            { "Create HUD\tCtrl+2", Editor::M_HUD },
            { "Insert Color\tCtrl+3", Editor::M_COLOR },
            { "Create Timer\tCtrl+4", Editor::M_TIME },
            { "Create Image\tCtrl+5", Editor::M_IMG },
            { "Create Hook\tCtrl+6", Editor::M_HOOK },
            { "Edit in &Wizard\tCtrl+Shift+W", Editor::M_EDIT_IN_WIZARD },
            { "S&ettings\tCtrl+E", Editor::M_SETTINGS },
            { "", 0 },
            { "Check Syntax\tF7", Editor::M_SYNTAX },
            { "", 0 },
            { "Write Colors as \\169", Editor::M_COLOR_ESCAPE },
        } },
    { "Help", { { "About", Editor::M_ABOUT } } },
};

const QStringList ToolbarTips = { "New", "Open", "Save", "", "Insert item id", "Create hud text",
    "Insert formatted color", "Create timer", "Create image (doesn't work yet)", "Create hook", "", "Run Tarvane",
    "Run Tarvane Dedicated", "Command-Line Arguments" };

TLayoutRect ShapeOf(const TGadget* gadget)
{
    return { gadget->GetXPos(), gadget->GetYPos(), gadget->GetWidth(), gadget->GetHeight() };
}

TLayoutRect WidgetShapeOf(const TGadget* gadget)
{
    const QRect r = TWidgetGadget::From(const_cast<TGadget*>(gadget))->Widget()->geometry();
    return { r.x(), r.y(), r.width(), r.height() };
}

class MainWindowTest : public AppFixture {
protected:
    QWidget* Top() const { return TWidgetGadget::From(App->Window)->Widget(); }
    QWidget* Client() const { return TWidgetGadget::From(App->Window)->ClientWidget(); }
    QMenuBar* Bar() const { return Top()->findChild<QMenuBar*>(); }
    QToolBar* ToolBar() const { return static_cast<QToolBar*>(TWidgetGadget::From(App->Toolbar)->Widget()); }
    TToolbarGadget* Toolbar() const { return static_cast<TToolbarGadget*>(App->Toolbar); }

    TMenuGadget* ItemWithTag(int tag) const
    {
        for (TGadget* menu : App->Window->GetMenu()->kids)
            for (TGadget* item : menu->kids)
                if (static_cast<TMenuGadget*>(item)->Tag() == tag)
                    return static_cast<TMenuGadget*>(item);
        return nullptr;
    }

    // The gadgets of the main window's client area, picked by kind and creation order.
    TGadget* Strip() const { return App->Toolbar->parent; }
    std::vector<TGadget*> FrameLines() const
    {
        std::vector<TGadget*> lines;
        for (TGadget* kid : App->Window->kids)
            if (kid->Class() == GadgetClass::Panel && kid != Strip())
                lines.push_back(kid);
        return lines;
    }

    // Resizes the window's client area as dragging its frame would.
    void ResizeClient(int w, int h)
    {
        Top()->resize(w, h + Bar()->height());
        Settle();
    }

    // The MenuActions now waiting, without running them.
    static std::vector<int> QueuedMenuTags()
    {
        std::vector<int> tags;
        while (EventQueue.Poll())
            if (EventQueue.Current().id == Event::MenuAction)
                tags.push_back(EventQueue.Current().data);
        return tags;
    }
};

TEST_F(MainWindowTest, StartsAsAModifiedNewScriptWithSaveEnabled)
{
    EXPECT_EQ(App->Window->GetText(), "Tarvane:LE - New Script.lua*");
    EXPECT_EQ(Top()->windowTitle(), "Tarvane:LE - New Script.lua*");
    EXPECT_EQ(ApplicationTitle, "Tarvane:LE - New Script.lua*");
    EXPECT_EQ(App->lLines->GetText(), "Line: 1 / 1");
    EXPECT_EQ(App->lChar->GetText(), "Char: 0");
    EXPECT_EQ(
        static_cast<QLabel*>(TWidgetGadget::From(App->lChar)->Widget())->alignment() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(Script(), "");
    EXPECT_EQ(Recorded(), 0);

    EXPECT_FALSE(App->mFileSave->State() & GadgetState::Disabled);
    EXPECT_FALSE(App->Toolbar->ItemState(Editor::TB_SAVE) & ItemState::Disabled);
    EXPECT_TRUE(ToolBar()->actions()[Editor::TB_SAVE]->isEnabled());

    EXPECT_TRUE(ItemWithTag(Editor::M_IMG)->State() & GadgetState::Disabled);
    EXPECT_TRUE(App->Toolbar->ItemState(Editor::TB_IMAGE) & ItemState::Disabled);
    EXPECT_FALSE(ToolBar()->actions()[Editor::TB_IMAGE]->isEnabled());

    EXPECT_FALSE(IsHidden(App->Window, true));
    EXPECT_TRUE(IsHidden(App->wSettings->Window, false));
    EXPECT_EQ(ActiveGadget(), Text());
}

TEST_F(MainWindowTest, MenusHoldEveryItemWithItsTagLabelAndSeparators)
{
    const std::vector<TGadget*>& menus = App->Window->GetMenu()->kids;
    const QList<QAction*> barActions = Bar()->actions();
    ASSERT_EQ(menus.size(), Menus.size());
    ASSERT_EQ(barActions.size(), static_cast<qsizetype>(Menus.size()));
    for (std::size_t m = 0; m < Menus.size(); ++m) {
        SCOPED_TRACE(Menus[m].title.toStdString());
        auto* menu = static_cast<TMenuGadget*>(menus[m]);
        EXPECT_EQ(menu->GetText(), Menus[m].title);
        EXPECT_EQ(menu->Tag(), 0);
        EXPECT_EQ(barActions[m]->text(), Menus[m].title);
        ASSERT_EQ(menu->kids.size(), Menus[m].items.size());
        const QList<QAction*> shown = barActions[m]->menu()->actions();
        ASSERT_EQ(shown.size(), static_cast<qsizetype>(Menus[m].items.size()));
        for (std::size_t i = 0; i < Menus[m].items.size(); ++i) {
            const ExpectedItem& expected = Menus[m].items[i];
            auto* item = static_cast<TMenuGadget*>(menu->kids[i]);
            EXPECT_EQ(item->Label(), expected.label);
            EXPECT_EQ(item->Tag(), expected.tag);
            if (expected.label.isEmpty()) {
                EXPECT_TRUE(shown[i]->isSeparator()) << "item " << i;
            } else {
                EXPECT_EQ(shown[i]->text(), expected.label);
                EXPECT_EQ(shown[i]->isEnabled(), expected.tag != Editor::M_IMG) << expected.label.toStdString();
            }
        }
    }
    EXPECT_EQ(App->mFileSave, ItemWithTag(Editor::M_SAVE));
    EXPECT_EQ(App->mFile, menus[0]);
    EXPECT_EQ(App->mEdit, menus[1]);
    EXPECT_EQ(App->mView, menus[2]);
    EXPECT_EQ(App->mTool, menus[3]);
    EXPECT_EQ(App->mHelp, menus[4]);
}

TEST_F(MainWindowTest, ToolbarHasFourteenItemsWithSeparatorsCountedInTheIndices)
{
    ASSERT_EQ(Toolbar()->ItemCount(), 14);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(Toolbar()->ItemTip(i), ToolbarTips[i]) << "item " << i;
        EXPECT_EQ(Toolbar()->IsSeparator(i), i == 3 || i == 10) << "item " << i;
    }
    const QList<QAction*> actions = ToolBar()->actions();
    ASSERT_EQ(actions.size(), 14);
    EXPECT_TRUE(actions[3]->isSeparator());
    EXPECT_TRUE(actions[10]->isSeparator());
    EXPECT_EQ(actions[4]->toolTip(), "Insert item id");
    EXPECT_EQ(actions[11]->toolTip(), "Run Tarvane");
    // The strip behind the toolbar spans the window at the top.
    EXPECT_EQ(ShapeOf(Strip()), (TLayoutRect { 0, 0, 640, 32 }));

    // The buttons right after the separators raise their own indices.
    for (int index : { 4, 11 }) {
        EventQueue.Clear();
        QTest::mouseClick(ToolBar()->widgetForAction(actions[index]), Qt::LeftButton);
        ASSERT_EQ(EventQueue.Poll(), Event::GadgetAction) << "item " << index;
        EXPECT_EQ(EventQueue.Current().source, App->Toolbar);
        EXPECT_EQ(EventQueue.Current().data, index);
    }
    EventQueue.Clear();
}

TEST_F(MainWindowTest, ClientAreaAndTheGadgetsInItHaveTheirStartingShapes)
{
    EXPECT_EQ(App->Window->ClientWidth(), 640);
    EXPECT_EQ(App->Window->ClientHeight(), 512);
    EXPECT_EQ(Client()->size(), QSize(640, 512));

    EXPECT_EQ(ShapeOf(Text()), (TLayoutRect { 0, 32, 640, 460 }));
    EXPECT_EQ(WidgetShapeOf(Text()), (TLayoutRect { 0, 32, 640, 460 }));
    EXPECT_EQ(ShapeOf(App->lLines), (TLayoutRect { 5, 494, 315, 15 }));
    EXPECT_EQ(ShapeOf(App->lChar), (TLayoutRect { 320, 494, 315, 15 }));
    const std::vector<TGadget*> lines = FrameLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(ShapeOf(lines[0]), (TLayoutRect { 0, 32, 640, 1 }));
    EXPECT_EQ(ShapeOf(lines[1]), (TLayoutRect { 0, 32, 1, 460 }));
    EXPECT_EQ(ShapeOf(lines[2]), (TLayoutRect { 638, 32, 1, 459 }));
    EXPECT_EQ(ShapeOf(lines[3]), (TLayoutRect { 1, 490, 638, 1 }));
    EXPECT_EQ(WidgetShapeOf(lines[3]), (TLayoutRect { 1, 490, 638, 1 }));
}

TEST_F(MainWindowTest, ResizingMovesTheGadgetsWithTheirEdgesAndStopsAtTheMinimumSize)
{
    ResizeClient(800, 600);
    ASSERT_EQ(Client()->size(), QSize(800, 600));
    EXPECT_EQ(ShapeOf(Strip()), (TLayoutRect { 0, 0, 800, 32 }));
    EXPECT_EQ(ShapeOf(Text()), (TLayoutRect { 0, 32, 800, 548 }));
    EXPECT_EQ(WidgetShapeOf(Text()), (TLayoutRect { 0, 32, 800, 548 }));
    const std::vector<TGadget*> lines = FrameLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(ShapeOf(lines[0]), (TLayoutRect { 0, 32, 800, 1 }));
    EXPECT_EQ(ShapeOf(lines[1]), (TLayoutRect { 0, 32, 1, 548 }));
    EXPECT_EQ(ShapeOf(lines[2]), (TLayoutRect { 798, 32, 1, 547 }));
    EXPECT_EQ(ShapeOf(lines[3]), (TLayoutRect { 1, 578, 798, 1 }));
    // lLines keeps its left edge and lChar its right edge (5 pixels in); both stay on the bottom.
    EXPECT_EQ(ShapeOf(App->lLines), (TLayoutRect { 5, 582, 395, 15 }));
    EXPECT_EQ(ShapeOf(App->lChar), (TLayoutRect { 400, 582, 395, 15 }));
    EXPECT_EQ(WidgetShapeOf(App->lChar), (TLayoutRect { 400, 582, 395, 15 }));

    EXPECT_EQ(Top()->minimumSize(), QSize(389, 240));
    Top()->resize(100, 100);
    Settle();
    EXPECT_EQ(Top()->size(), QSize(389, 240));
    EXPECT_EQ(Text()->GetWidth(), 389);
    EXPECT_EQ(Text()->GetHeight(), Client()->height() - 52);
    // The labels meet where 389 * 320 / 640 truncates: 194.
    EXPECT_EQ(ShapeOf(App->lLines), (TLayoutRect { 5, Client()->height() - 18, 189, 15 }));
    EXPECT_EQ(ShapeOf(App->lChar), (TLayoutRect { 194, Client()->height() - 18, 190, 15 }));

    // Back at the first size, everything is where it started.
    ResizeClient(640, 512);
    EXPECT_EQ(ShapeOf(Text()), (TLayoutRect { 0, 32, 640, 460 }));
    EXPECT_EQ(ShapeOf(App->lLines), (TLayoutRect { 5, 494, 315, 15 }));
    EXPECT_EQ(ShapeOf(App->lChar), (TLayoutRect { 320, 494, 315, 15 }));
    EXPECT_EQ(ShapeOf(FrameLines()[2]), (TLayoutRect { 638, 32, 1, 459 }));
}

TEST_F(MainWindowTest, AResizeLeavesTheToolbarItsButtonsAndEveryDialogItsOwnSize)
{
    const TLayoutRect toolbar = ShapeOf(App->Toolbar);
    ASSERT_GE(toolbar.width, 12 * 24);
    ASSERT_GE(toolbar.height, 24);
    const std::vector<TGadget*> dialogs = { App->wSettings->Window };
    std::vector<TLayoutRect> dialogShapes;
    for (TGadget* dialog : dialogs)
        dialogShapes.push_back(ShapeOf(dialog));

    const std::vector<std::pair<const char*, std::function<void()>>> resizes = {
        { "a grow by one pixel", [this] { ResizeClient(641, 513); } },
        { "a drag to 800 x 600", [this] { ResizeClient(800, 600); } },
        { "a shrink to the minimum", [this] { ResizeClient(389, 240 - Bar()->height()); } },
        { "maximised", [this] { App->Window->Activate(ActivateCommand::Maximise); } },
        { "restored", [this] { App->Window->Activate(ActivateCommand::Restore); } },
    };
    for (const auto& [name, resize] : resizes) {
        SCOPED_TRACE(name);
        resize();
        Settle();
        EXPECT_EQ(ShapeOf(App->Toolbar), toolbar);
        EXPECT_EQ(WidgetShapeOf(App->Toolbar), toolbar);
        EXPECT_EQ(ToolBar()->iconSize(), QSize(24, 24));
        for (QAction* action : ToolBar()->actions()) {
            if (action->isSeparator())
                continue;
            const QWidget* button = ToolBar()->widgetForAction(action);
            ASSERT_NE(button, nullptr);
            EXPECT_TRUE(button->isVisible()) << action->toolTip().toStdString();
            EXPECT_GE(button->width(), 24) << action->toolTip().toStdString();
        }
        for (std::size_t i = 0; i < dialogs.size(); ++i)
            EXPECT_EQ(ShapeOf(dialogs[i]), dialogShapes[i]) << dialogs[i]->GetText().toStdString();
    }

    // Shown after all that, the settings dialog has its own client size.
    Menu(Editor::M_SETTINGS);
    ASSERT_FALSE(IsHidden(App->wSettings->Window, false));
    EXPECT_EQ(TWidgetGadget::From(App->wSettings->Window)->ClientWidget()->size(), QSize(320, 415));
}

TEST_F(MainWindowTest, EveryShortcutRaisesItsItemFromTheTextArea)
{
    const std::vector<std::pair<Qt::Key, int>> shortcuts = {
        { Qt::Key_N, Editor::M_NEW },
        { Qt::Key_O, Editor::M_LOAD },
        { Qt::Key_S, Editor::M_SAVE },
        { Qt::Key_Z, Editor::M_UNDO },
        { Qt::Key_Y, Editor::M_REDO },
        { Qt::Key_X, Editor::M_CUT },
        { Qt::Key_C, Editor::M_COPY },
        { Qt::Key_V, Editor::M_PASTE },
        { Qt::Key_A, Editor::M_ALL },
        { Qt::Key_L, Editor::M_LINE },
        { Qt::Key_BracketRight, Editor::M_BIN },
        { Qt::Key_BracketLeft, Editor::M_BOUT },
        { Qt::Key_1, Editor::M_ITEMID },
        { Qt::Key_2, Editor::M_HUD },
        { Qt::Key_3, Editor::M_COLOR },
        { Qt::Key_4, Editor::M_TIME },
        { Qt::Key_6, Editor::M_HOOK },
        { Qt::Key_E, Editor::M_SETTINGS },
        { Qt::Key_F, Editor::M_FIND },
        { Qt::Key_H, Editor::M_REPLACE },
        { Qt::Key_G, Editor::M_GOTO },
    };
    for (const auto& [key, tag] : shortcuts) {
        EventQueue.Clear();
        QTest::keyClick(View(), key, Qt::ControlModifier);
        EXPECT_EQ(QueuedMenuTags(), std::vector<int> { tag }) << "tag " << tag;
    }
    // Create Image is disabled, so its key raises nothing.
    EventQueue.Clear();
    QTest::keyClick(View(), Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(QueuedMenuTags(), std::vector<int> {});
    EXPECT_EQ(Script(), "");
}

TEST_F(MainWindowTest, CtrlAAndCtrlZInTheTextAreaRunTheLoopsCommands)
{
    SetScript("one\ntwo", 2);
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Cursor(), 0);
    EXPECT_EQ(SelectionLength(), 7);

    Select(7);
    Type("xy");
    ASSERT_EQ(Script(), "one\ntwoxy");
    // The text area keeps no undo of its own: only the editor's history can take the "y" back.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Script(), "one\ntwox");
    EXPECT_EQ(Recorded(), 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Script(), "one\ntwo");
}

} // namespace

namespace {
// The View menu's choices show at once, are ticked in the menu, and are kept for the next run; the
// zoom keys and Ctrl with the wheel grow and shrink the text.
TEST_F(MainWindowTest, ViewChoicesShowAtOnceAndAreKeptBetweenRuns)
{
    TTextView* view = static_cast<TTextArea*>(Text())->View();
    EXPECT_TRUE(view->LineNumbers()) << "line numbers are on by default";
    EXPECT_GT(view->viewport()->x(), 0) << "the gutter takes room left of the text";
    EXPECT_TRUE(ItemWithTag(Editor::M_LINE_NUMBERS)->State() & GadgetState::Selected);
    const qreal size = view->font().pointSizeF();

    EXPECT_FALSE(view->WordWrap()) << "lines do not wrap by default";
    Menu(Editor::M_WORD_WRAP);
    EXPECT_TRUE(view->WordWrap());
    EXPECT_TRUE(ItemWithTag(Editor::M_WORD_WRAP)->State() & GadgetState::Selected);
    Menu(Editor::M_LINE_NUMBERS);
    EXPECT_FALSE(view->LineNumbers());
    EXPECT_EQ(view->viewport()->x(), 0);
    EXPECT_FALSE(ItemWithTag(Editor::M_LINE_NUMBERS)->State() & GadgetState::Selected);
    Menu(Editor::M_TAB_WIDTH + 2);
    QTest::keyClick(View(), Qt::Key_Equal, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(view->font().pointSizeF(), size + 1) << "Ctrl+=";
    QWheelEvent wheel(QPointF(10, 10), view->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 240),
        Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_EQ(view->font().pointSizeF(), size + 3) << "Ctrl and two notches of the wheel";

    Restart();
    view = static_cast<TTextArea*>(Text())->View();
    EXPECT_FALSE(view->LineNumbers());
    EXPECT_TRUE(view->WordWrap());
    EXPECT_TRUE(ItemWithTag(Editor::M_WORD_WRAP)->State() & GadgetState::Selected);
    EXPECT_EQ(view->font().pointSizeF(), size + 3);
    EXPECT_EQ(ScriptArea(Text())->ViewOptions().tabColumns, 2);
    EXPECT_TRUE(App->mTabWidths.front()->State() & GadgetState::Selected) << "2 columns ticked";
    Menu(Editor::M_ZOOM_RESET);
    EXPECT_EQ(view->font().pointSizeF(), size);
}
} // namespace

namespace {
// The caret beside a bracket frames it and its partner; moving away takes the frames off.
TEST_F(MainWindowTest, TheBracketAtTheCaretAndItsPartnerAreFramed)
{
    SetScript("if f(a) then\nend");
    Select(4);
    const auto framed = [this] {
        std::vector<std::pair<int, int>> ranges;
        for (const TIndicator& mark : ScriptArea(Text())->Indicators(DecorationLayer::Brackets))
            ranges.emplace_back(mark.start, mark.end);
        return ranges;
    };
    EXPECT_EQ(framed(), (std::vector<std::pair<int, int>> { { 4, 5 }, { 6, 7 } }));
    Select(1);
    EXPECT_EQ(framed(), (std::vector<std::pair<int, int>> { { 0, 2 }, { 13, 16 } })) << "if ... end";
    Select(9);
    EXPECT_TRUE(framed().empty());
}

TEST_F(MainWindowTest, BracketMarksComeInTheOrderTheTextAreaKeepsThem)
{
    // A partner before the caret's bracket: marks that did not move must compare equal to the kept
    // ones, or every keystroke would set them anew and repaint the lines between the pair.
    const std::pair<const char*, int> cases[] = { { "f(\n  a\n)", 7 }, { "if a then\nend", 12 }, { "(a)", 1 } };
    for (const auto& [script, caret] : cases) {
        SetScript(script);
        Select(caret);
        const std::vector<TIndicator> marks = MatchingBracketMarks(*Text());
        EXPECT_EQ(marks.size(), 2u) << script;
        EXPECT_EQ(marks, ScriptArea(Text())->Indicators(DecorationLayer::Brackets)) << script;
    }
}
} // namespace
