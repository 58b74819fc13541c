// TTextGutter: the margin left of the text area's lines: their numbers, right-aligned and the caret's
// emphasised, and the line markers. A click selects a line, a drag the lines it passes over.
#pragma once

#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <QWidget>

#include <array>
#include <vector>

class QPainter;
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
    // The glyphs of the digits in the view's font, plain and bold: a page of numbers is two glyph runs,
    // laid out here rather than by the text engine line by line, which cost a scroll a fifth more.
    struct TDigits {
        QRawFont raw;
        std::array<quint32, 10> index {};
        std::array<qreal, 10> advance {};
        bool usable = false;
        // The numbers of the lines being painted, gathered into one run.
        std::vector<quint32> glyphs;
        std::vector<QPointF> positions;
    };
    void TakeDigits();
    // Adds the number right-aligned at `right`, on `baseline`, to the digits' run.
    static void AddNumber(TDigits& digits, int number, qreal right, qreal baseline);
    static void DrawRun(QPainter& painter, TDigits& digits);

    TTextView& view;
    QFont digitsFont; // the font the digits' glyphs were taken from
    bool digitsTaken = false;
    std::array<TDigits, 2> digits; // plain, bold
    qreal digitsAscent = 0;
    qreal digitsHeight = 0;
    // The line a press in the gutter started on, while the button is held.
    int pressedLine = -1;
};
