// TTextGutter: the margin left of the text area's lines: their numbers, right-aligned and the caret's
// emphasised, and the line markers. A click selects a line, a drag the lines it passes over.
#pragma once

#include <QWidget>

class TTextView;

class TTextGutter : public QWidget {
public:
    explicit TTextGutter(TTextView& view);

    // The width the numbers of `lines` lines and the markers need in the view's font.
    int WidthFor(int lines) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    TTextView& view;
    // The line a press in the gutter started on, while the button is held.
    int pressedLine = -1;
};
