#include "gui/TextFieldGadget.h"

#include "gui/KeyMap.h"

#include <QAbstractEventDispatcher>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleHints>

#include <algorithm>
#include <limits>

namespace {
// A caret blink makes QLineEdit paint itself, and every paint measures and draws its whole text: with a
// megabyte pasted into a field, a quarter of a core for as long as it has the focus. Past this length
// the caret stops blinking and stays lit, so that an idle field costs nothing.
constexpr qsizetype SteadyCaretLength = 10000;

// Swallows the blink timer of a field's line control while the field holds a long text. The control is
// Qt's own child object of the field; its blink timer is the one that runs at half the flash time.
class SteadyCaret : public QObject {
public:
    SteadyCaret(QLineEdit* field, QObject* control)
        : QObject(field)
        , field(field)
    {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* control, QEvent* event) override
    {
        if (event->type() != QEvent::Timer || field->text().size() <= SteadyCaretLength)
            return false;
        const int id = static_cast<QTimerEvent*>(event)->timerId();
        const QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(control->thread());
        if (!dispatcher)
            return false;
        const int blink = QGuiApplication::styleHints()->cursorFlashTime() / 2;
        for (const QAbstractEventDispatcher::TimerInfo& timer : dispatcher->registeredTimers(control)) {
            if (timer.timerId == id)
                return timer.interval == blink;
        }
        return false;
    }

private:
    QLineEdit* field;
};

// A key press is a key-down and then, for keys that type something, its characters. The field acts on
// navigation and Delete at the key-down and on everything that types (Backspace and the Ctrl+A, C, V, X
// and Z characters included) at the character, and a filter can refuse either independently: a number
// field that refuses every key-down but the arrows and Delete still takes digits and Backspace.
class FieldWidget : public QLineEdit {
public:
    FieldWidget(TGadget* gadget, QWidget* parent)
        : QLineEdit(parent)
        , gadget(gadget)
    {
        for (QObject* child : children()) {
            if (child->inherits("QWidgetLineControl"))
                new SteadyCaret(this, child);
        }
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!gadget->eventfilter)
            return QLineEdit::keyPressEvent(event);
        const int mods = ModifierBitsOf(event->modifiers());
        const bool downAccepted = OfferKeyToFilter(gadget, Event::KeyDown, VirtualKeyOf(event), mods) != 0;
        const QString chars = CharCodesOf(event);
        // A refused key is the field's to drop, not its window's: Escape still closes a tool window.
        if (chars.isEmpty()) {
            if (downAccepted)
                QLineEdit::keyPressEvent(event);
            else
                event->ignore();
            return;
        }
        bool charsAccepted = true;
        ForEachCodePoint(chars, [&](char32_t code) {
            charsAccepted
                = OfferKeyToFilter(gadget, Event::KeyChar, static_cast<int>(code), mods) != 0 && charsAccepted;
        });
        if (charsAccepted)
            QLineEdit::keyPressEvent(event);
        else
            event->ignore();
    }

    void inputMethodEvent(QInputMethodEvent* event) override
    {
        if (gadget->eventfilter && !event->commitString().isEmpty()) {
            bool accepted = true;
            ForEachCodePoint(event->commitString(), [&](char32_t code) {
                accepted = accepted && OfferKeyToFilter(gadget, Event::KeyChar, static_cast<int>(code), 0) != 0;
            });
            if (!accepted) {
                event->accept();
                return;
            }
        }
        QLineEdit::inputMethodEvent(event);
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        // Leaving the field collapses its selection to the start.
        const int start = hasSelectedText() ? selectionStart() : -1;
        QLineEdit::focusOutEvent(event);
        if (start >= 0) {
            deselect();
            setCursorPosition(start);
        }
        EmitGadgetEvent(Event::GadgetLostFocus, gadget);
    }

private:
    TGadget* gadget;
};
} // namespace

TTextFieldGadget::TTextFieldGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::TextField, group, style)
{
    auto* field = new FieldWidget(this, ParentWidgetFor(group));
    // A field holds whatever the program gives it: a game path of any length must come back whole.
    field->setMaxLength(std::numeric_limits<int>::max());
    SetWidget(field);
    QObject::connect(field, &QLineEdit::textEdited, [this] { EmitGadgetEvent(Event::GadgetAction, this); });
}

void TTextFieldGadget::SetText(const QString& text)
{
    TGadget::SetText(text);
    static_cast<QLineEdit*>(Widget())->setText(text);
}

QString TTextFieldGadget::GetText() const
{
    return static_cast<QLineEdit*>(Widget())->text();
}

void TTextFieldGadget::SetSelection(int pos, int length, TextUnit /*units*/)
{
    auto* field = static_cast<QLineEdit*>(Widget());
    const int size = static_cast<int>(field->text().size());
    const int start = std::clamp(pos, 0, size);
    field->setSelection(start, length < 0 ? size - start : std::min(length, size - start));
}

void TTextFieldGadget::Activate(int command)
{
    auto* field = static_cast<QLineEdit*>(Widget());
    switch (command) {
    case ActivateCommand::Cut:
        field->cut();
        break;
    case ActivateCommand::Copy:
        field->copy();
        break;
    case ActivateCommand::Paste:
        field->paste();
        break;
    default:
        TWidgetGadget::Activate(command);
        break;
    }
}
