// Whether a gadget shows all of its text at the size the program gave it, in the font it really has.
#pragma once

#include "gui/Gadget.h"
#include "gui/WidgetGadget.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QString>

#include <climits>

// An empty string when the text shows whole, else what is cut. A label wraps at its width and may use
// as many lines as its height holds; a button or check box needs its size hint's width (text, padding
// and the box itself) and one line of the font in its height.
inline QString WholeTextProblem(TGadget* gadget, const QString& text)
{
    QWidget* widget = TWidgetGadget::From(gadget)->Widget();
    const QFontMetrics metrics(widget->font());
    const QString what
        = QStringLiteral("\"%1\" in %2 x %3: ").arg(text).arg(gadget->GetWidth()).arg(gadget->GetHeight());
    if (qobject_cast<QLabel*>(widget)) {
        const QRect needed
            = metrics.boundingRect(QRect(0, 0, gadget->GetWidth(), INT_MAX), Qt::AlignLeft | Qt::TextWordWrap, text);
        if (needed.width() > gadget->GetWidth() || needed.height() > gadget->GetHeight())
            return what + QStringLiteral("needs %1 x %2").arg(needed.width()).arg(needed.height());
        return {};
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        const QSize hint = button->sizeHint();
        if (hint.width() > gadget->GetWidth() || metrics.height() > gadget->GetHeight())
            return what + QStringLiteral("needs %1 wide, a line %2 high").arg(hint.width()).arg(metrics.height());
        return {};
    }
    return what + QStringLiteral("not a label or button");
}

inline QString WholeTextProblem(TGadget* gadget)
{
    return WholeTextProblem(gadget, gadget->GetText());
}
