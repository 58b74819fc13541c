// The list of completions under the caret and the one-line calltip above it: children of the text
// area's viewport that never take the focus, so that typing goes on in the text while they show.
#pragma once

#include "gui/PopupItem.h"

#include <QLabel>
#include <QListWidget>

#include <functional>
#include <vector>

class TCompletionPopup : public QListWidget {
public:
    explicit TCompletionPopup(QWidget* viewport);

    // Shows the items with the first chosen, its top left at `below` or, when there is no room down to
    // the viewport's bottom, its bottom left at `above`.
    void Show(const std::vector<TPopupItem>& items, QPoint below, QPoint above, bool enterChooses);
    // A key while the list shows: true when the list took it (moved, chose, closed).
    bool Key(int key);
    void OnChosen(std::function<void(int index)> handler) { chosen = std::move(handler); }

private:
    void Choose();

    bool enterChooses = false;
    std::function<void(int index)> chosen;
};

class TCalltip : public QLabel {
public:
    explicit TCalltip(QWidget* viewport);
    // Rich text; its bottom left at `above`, or its top left at `below` when the line is the top one.
    void Show(const QString& text, QPoint above, QPoint below);
};
