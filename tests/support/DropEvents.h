// A drag passing over a widget as the platform delivers it: entering, moving, dropping.
#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

// Drags `data` onto `widget` at `point` and drops it there with the modifiers held; returns what the
// widget did with it, or IgnoreAction when it would not take it.
inline Qt::DropAction DropAt(
    QWidget* widget, QPoint point, const QMimeData* data, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(point, actions, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDragMoveEvent move(point, actions, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(widget, &move);
    QDropEvent drop(point, actions, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(widget, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}
