#include "gui/CompletionPopup.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace {
constexpr int ShownRows = 10;
}

TCompletionPopup::TCompletionPopup(QWidget* viewport)
    : QListWidget(viewport)
{
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::Box);
    hide();
    QObject::connect(this, &QListWidget::itemDoubleClicked, this, [this] { Choose(); });
}

void TCompletionPopup::Show(const std::vector<TPopupItem>& items, QPoint below, QPoint above, bool enter)
{
    enterChooses = enter;
    setUpdatesEnabled(false);
    clear();
    int widest = 0;
    const QFontMetrics metrics(font());
    for (const TPopupItem& item : items) {
        QString label = item.text;
        if (!item.detail.isEmpty())
            label += QStringLiteral("   ") + item.detail;
        if (!item.kind.isEmpty())
            label += QStringLiteral("   \u2013 ") + item.kind;
        auto* row = new QListWidgetItem(label, this);
        row->setToolTip(label);
        widest = std::max(widest, metrics.horizontalAdvance(label));
    }
    setCurrentRow(0);
    setUpdatesEnabled(true);
    const int rowHeight = std::max(1, sizeHintForRow(0));
    const int rows = std::min<int>(ShownRows, static_cast<int>(items.size()));
    const int scroll = static_cast<int>(items.size()) > ShownRows ? verticalScrollBar()->sizeHint().width() : 0;
    const QWidget* area = parentWidget();
    const int width = std::min(area->width(), widest + 16 + scroll);
    const int height = rows * rowHeight + 2 * frameWidth();
    QPoint at = below;
    if (at.y() + height > area->height() && above.y() - height >= 0)
        at = QPoint(above.x(), above.y() - height);
    at.setX(std::clamp(at.x(), 0, std::max(0, area->width() - width)));
    setGeometry(at.x(), at.y(), width, height);
    show();
    raise();
}

bool TCompletionPopup::Key(int key)
{
    if (!isVisible())
        return false;
    const int last = count() - 1;
    switch (key) {
    case Qt::Key_Up:
        setCurrentRow(currentRow() > 0 ? currentRow() - 1 : last);
        return true;
    case Qt::Key_Down:
        setCurrentRow(currentRow() < last ? currentRow() + 1 : 0);
        return true;
    case Qt::Key_PageUp:
        setCurrentRow(std::max(0, currentRow() - (ShownRows - 1)));
        return true;
    case Qt::Key_PageDown:
        setCurrentRow(std::min(last, currentRow() + (ShownRows - 1)));
        return true;
    case Qt::Key_Tab:
        Choose();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (enterChooses) {
            Choose();
            return true;
        }
        hide(); // a list that opened by itself leaves Enter its line break
        return false;
    case Qt::Key_Escape:
        hide();
        return true;
    default:
        return false;
    }
}

void TCompletionPopup::Choose()
{
    const int row = currentRow();
    hide();
    if (row >= 0 && chosen)
        chosen(row);
}

TCalltip::TCalltip(QWidget* viewport)
    : QLabel(viewport)
{
    setTextFormat(Qt::RichText);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setMargin(2);
    hide();
}

void TCalltip::Show(const QString& text, QPoint above, QPoint below)
{
    setText(text);
    adjustSize();
    QPoint at(above.x(), above.y() - height());
    if (at.y() < 0)
        at = below;
    at.setX(std::clamp(at.x(), 0, std::max(0, parentWidget()->width() - width())));
    move(at);
    show();
    raise();
}
