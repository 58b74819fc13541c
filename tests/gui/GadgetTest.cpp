// Gadgets on the offscreen platform: which user actions raise which events, and that programmatic
// changes raise none.
#include "draw/Pixmap.h"
#include "event/EventQueue.h"
#include "gui/ComboBoxGadget.h"
#include "gui/GadgetFactory.h"
#include "gui/MenuGadget.h"
#include "gui/ToolbarGadget.h"
#include "gui/TreeViewGadget.h"
#include "gui/WidgetGadget.h"
#include "support/WindowFixture.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProxyStyle>
#include <QStyleHints>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {
constexpr int DialogStyle = 1 | 0x10 | 0x20 | 0x40 | 0x200;

using GadgetTest = WindowFixture;

TEST_F(GadgetTest, ClosingAWindowReportsWindowCloseAndLeavesItOpen)
{
    WidgetOf<QWidget>(window)->close();
    const auto events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].id, Event::WindowClose);
    EXPECT_EQ(events[0].source, window);
    EXPECT_FALSE(IsHidden(window, false));
}

TEST_F(GadgetTest, ACheckBoxTogglesThenReportsItsNewValue)
{
    TGadget* box = MakeButton("Bold", 5, 5, 100, 20, window, 2);
    QTest::mouseClick(WidgetOf<QCheckBox>(box), Qt::LeftButton, {}, QPoint(8, 10));
    auto events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].id, Event::GadgetAction);
    EXPECT_EQ(events[0].data, 1);
    EXPECT_EQ(ButtonValue(box), 1);

    QTest::mouseClick(WidgetOf<QCheckBox>(box), Qt::LeftButton, {}, QPoint(8, 10));
    events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].data, 0);
    EXPECT_EQ(ButtonValue(box), 0);

    // An indeterminate box becomes checked when clicked.
    box->SetSelected(2);
    EXPECT_EQ(ButtonValue(box), -1);
    QTest::mouseClick(WidgetOf<QCheckBox>(box), Qt::LeftButton, {}, QPoint(8, 10));
    events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].data, 1);
}

TEST_F(GadgetTest, ProgrammaticChangesRaiseNoEvents)
{
    TGadget* field = MakeTextField(5, 5, 100, 20, window, 0);
    TGadget* box = MakeButton("Bold", 5, 30, 100, 20, window, 2);
    TGadget* combo = MakeComboBox(5, 55, 100, 20, window, 0);
    TGadget* tree = MakeTreeView(5, 80, 100, 100, window, 0);
    AppendItem(combo, "a", 0, -1, "", {});
    AppendItem(combo, "b", 0, -1, "", {});
    TGadget* node = AppendNode("node", tree->RootNode(), -1, QString("extra"));

    field->SetText("12");
    box->SetSelected(1);
    combo->SelectItem(1, 1);
    node->Activate(ActivateCommand::Select);
    node->Activate(ActivateCommand::Expand);
    EXPECT_TRUE(Drain().empty());
    EXPECT_EQ(field->GetText(), "12");
    EXPECT_EQ(ButtonValue(box), 1);
    EXPECT_EQ(combo->SelectedItem(), 1);
    EXPECT_EQ(tree->SelectedNode(), node);
}

// A field's caret blinks by a timer of Qt's line control, and each blink paints the field whole; with a
// long text in it, the blink is stopped and the field is not painted until something changes.
TEST_F(GadgetTest, ALongTextInAFieldStopsItsCaretFromBlinking)
{
    TGadget* field = MakeTextField(5, 5, 100, 20, window, 0);
    auto* edit = WidgetOf<QLineEdit>(field);
    QObject* control = nullptr;
    for (QObject* child : edit->children())
        control = child->inherits("QWidgetLineControl") ? child : control;
    ASSERT_NE(control, nullptr);
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    edit->installEventFilter(&counter);
    QApplication::setActiveWindow(edit->window());
    edit->setFocus();

    // Paints that one blink of the caret causes.
    const auto paintsOfABlink = [&] {
        QApplication::processEvents();
        const int blink = QGuiApplication::styleHints()->cursorFlashTime() / 2;
        int id = 0;
        for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(control))
            id = timer.interval == blink ? timer.timerId : id;
        EXPECT_NE(id, 0) << "the caret does not blink at all";
        counter.paints = 0;
        QTimerEvent tick(id);
        QApplication::sendEvent(control, &tick);
        QApplication::processEvents();
        return counter.paints;
    };
    field->SetText("short");
    EXPECT_GE(paintsOfABlink(), 1);
    field->SetText(QString(20000, '7'));
    EXPECT_EQ(paintsOfABlink(), 0);
    EXPECT_EQ(field->GetText().size(), 20000) << "the field keeps the whole text";
}

TEST_F(GadgetTest, AComboBoxReportsOnlyAChangedSelection)
{
    TGadget* combo = MakeComboBox(5, 5, 100, 20, window, 0);
    AppendItem(combo, "Left", 0, -1, "", QString("L"));
    AppendItem(combo, "Right", 0, -1, "", QString("R"));
    EXPECT_EQ(combo->SelectedItem(), -1); // adding entries selects nothing
    combo->SelectItem(0, 1);
    EventQueue.Clear();

    auto* box = WidgetOf<QComboBox>(combo);
    box->setCurrentIndex(0);
    emit box->activated(0);
    EXPECT_TRUE(Drain().empty());

    box->setCurrentIndex(1);
    emit box->activated(1);
    const auto events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].id, Event::GadgetAction);
    EXPECT_EQ(events[0].data, 1);
    EXPECT_EQ(std::any_cast<QString>(events[0].extra), "R");
}

TEST_F(GadgetTest, ATreeViewReportsSelectionAndActivationWithTheNode)
{
    TGadget* tree = MakeTreeView(5, 5, 200, 150, window, 0);
    TGadget* basic = AppendNode("Basic", tree->RootNode(), -1, {});
    TGadget* hook = AppendNode("break", basic, -1, QString("tx, ty, id"));
    basic->Activate(ActivateCommand::Expand);
    EventQueue.Clear();

    auto* widget = WidgetOf<QTreeWidget>(tree);
    QTreeWidgetItem* item = static_cast<TNodeGadget*>(hook)->Item();
    widget->setCurrentItem(item); // as a click does
    auto events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].id, Event::GadgetSelect);
    EXPECT_EQ(std::any_cast<TGadget*>(events[0].extra), hook);

    // A double click and Enter pick the node, so that a tree works with the mouse and the keyboard alike.
    widget->scrollToItem(item); // lays the rows out
    const std::function<void()> picks[] = {
        [&] {
            // A real double click: the platform sends the second press as a double click.
            const QPoint row = widget->visualItemRect(item).center();
            QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, row);
            QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, row);
        },
        [&] { QTest::keyClick(widget, Qt::Key_Return); },
        [&] { QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier); },
    };
    for (size_t k = 0; k < std::size(picks); ++k) {
        SCOPED_TRACE(k);
        picks[k]();
        events = Drain();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].id, Event::GadgetAction);
        EXPECT_EQ(std::any_cast<TGadget*>(events[0].extra), hook);
    }
    EXPECT_EQ(hook->GetText(), "break");
    EXPECT_EQ(std::any_cast<QString>(hook->extra), "tx, ty, id");

    // With nothing selected Enter has nothing to pick.
    widget->clearSelection();
    Drain();
    QTest::keyClick(widget, Qt::Key_Return);
    EXPECT_TRUE(Drain().empty());
}

// Where the desktop's style opens items on a single click, a click in a tree still only selects: the
// program tells choosing from passing over.
TEST_F(GadgetTest, ASingleClickOnATreeNodeOnlySelectsItWhateverTheStyle)
{
    class SingleClickStyle : public QProxyStyle {
    public:
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
            QStyleHintReturn* returned) const override
        {
            if (hint == SH_ItemView_ActivateItemOnSingleClick)
                return 1;
            return QProxyStyle::styleHint(hint, option, widget, returned);
        }
    } style;
    TGadget* tree = MakeTreeView(5, 5, 200, 150, window, 0);
    TGadget* node = AppendNode("join", tree->RootNode(), -1, QString("id"));
    auto* widget = WidgetOf<QTreeWidget>(tree);
    widget->setStyle(&style);
    // The style must not outlive the test, whichever way the test ends.
    const std::unique_ptr<QTreeWidget, void (*)(QTreeWidget*)> restore(
        widget, [](QTreeWidget* w) { w->setStyle(nullptr); });
    EventQueue.Clear();

    QTreeWidgetItem* item = static_cast<TNodeGadget*>(node)->Item();
    widget->scrollToItem(item); // lays the rows out
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, widget->visualItemRect(item).center());
    const auto events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].id, Event::GadgetSelect);
}

TEST_F(GadgetTest, ToolbarSeparatorsStillCountAsItems)
{
    // Four 4 x 4 icons; the second is blank.
    auto pixmap = std::make_shared<TPixmap>(16, 4, TPixelFormat::RGBA8888);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (x / 4 == 1)
                continue;
            unsigned char* p = pixmap->Row(y) + x * 4;
            p[0] = static_cast<unsigned char>(x * 16);
            p[3] = 255;
        }
    }
    TGadget* toolbar = MakeToolbar(LoadIconStrip(pixmap), 0, 0, 0, 0, window, 0);
    ASSERT_EQ(toolbar->ItemCount(), 4);
    EXPECT_TRUE(static_cast<TToolbarGadget*>(toolbar)->IsSeparator(1));
    EXPECT_FALSE(static_cast<TToolbarGadget*>(toolbar)->IsSeparator(2));

    SetToolbarItemTips(toolbar, { "New", "", "Open", "Save" });
    EXPECT_EQ(toolbar->ItemTip(2), "Open");
    const auto actions = WidgetOf<QToolBar>(toolbar)->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->toolTip(), "Open");

    SetItemEnabled(toolbar, 3, false);
    EXPECT_EQ(toolbar->ItemState(3) & ItemState::Disabled, ItemState::Disabled);
    EXPECT_FALSE(actions[3]->isEnabled());
    SetItemEnabled(toolbar, 3, true);
    EXPECT_TRUE(actions[3]->isEnabled());

    actions[2]->trigger();
    const auto events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].id, Event::GadgetAction);
    EXPECT_EQ(events[0].source, toolbar);
    EXPECT_EQ(events[0].data, 2);
}

TEST_F(GadgetTest, MakeWindowCentresOnItsGroupEvenWhenTheGroupIsLargerThanTheDesktop)
{
    TGadget* huge = MakeWindow("Huge", 100, 50, 20000, 10000, nullptr, 1 | 0x20 | 0x40);
    TGadget* dialog = MakeWindow("Dialog", 0, 0, 200, 100, huge, DialogStyle);
    EXPECT_EQ(dialog->GetXPos(), 100 + (20000 - 200) / 2);
    EXPECT_EQ(dialog->GetYPos(), 50 + (10000 - 100) / 2);
    huge->Free();
}

TEST_F(GadgetTest, GroupBoxesPlaceTheirKidsInsideTheFrame)
{
    TGadget* group = MakePanel(5, 5, 200, 155, window, 3, "Timer frequency");
    EXPECT_EQ(group->GetText(), "Timer frequency");
    EXPECT_EQ(group->ClientWidth(), 192);
    EXPECT_EQ(group->ClientHeight(), 135);
    TGadget* field = MakeTextField(5, 110, 185, 20, group, 0);
    QWidget* edit = WidgetOf<QWidget>(field);
    EXPECT_EQ(edit->geometry(), QRect(5, 110, 185, 20));
    EXPECT_EQ(edit->parentWidget(), TWidgetGadget::From(group)->ClientWidget());
}

TEST_F(GadgetTest, ActivePanelsReportMouseButtonsInClientPixels)
{
    TGadget* swatch = MakePanel(10, 10, 20, 20, window, 5);
    QTest::mouseClick(TWidgetGadget::From(swatch)->ClientWidget(), Qt::LeftButton, {}, QPoint(3, 4));
    const auto events = Drain();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].id, Event::MouseDown);
    EXPECT_EQ(events[0].data, 1);
    EXPECT_EQ(events[0].x, 3);
    EXPECT_EQ(events[0].y, 4);
    EXPECT_EQ(events[1].id, Event::MouseUp);
}
} // namespace
