#include "gui/ListBoxGadget.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QListView>
#include <algorithm>

class TRowModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void Reset(int rows, std::function<QString(int row)> rowText)
    {
        beginResetModel();
        count = rowText ? std::max(rows, 0) : 0;
        text = std::move(rowText);
        endResetModel();
    }
    QString Text(int row) const { return row >= 0 && row < count ? text(row) : QString(); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : count; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        return role == Qt::DisplayRole ? QVariant(Text(index.row())) : QVariant();
    }

private:
    int count = 0;
    std::function<QString(int row)> text;
};

namespace {
class ListView : public QListView {
public:
    ListView(TGadget* gadget, QWidget* parent)
        : QListView(parent)
        , gadget(gadget)
    {
    }

protected:
    // Enter picks the selected row as a double click does; it stops here, as the tree view's does.
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return QListView::keyPressEvent(event);
        event->accept();
        if (const int row = gadget->SelectedItem(); row >= 0)
            EmitGadgetEvent(Event::GadgetAction, gadget, row);
    }

private:
    TGadget* gadget;
};
} // namespace

TListBoxGadget::TListBoxGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::ListBox, group, style)
{
    auto* view = new ListView(this, ParentWidgetFor(group));
    model = new TRowModel(view);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row is one line of the same font: the view need not measure each.
    view->setUniformItemSizes(true);
    SetWidget(view);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, [this] {
        if (!programmatic)
            EmitGadgetEvent(Event::GadgetSelect, this, SelectedItem());
    });
    QObject::connect(view, &QAbstractItemView::doubleClicked,
        [this](const QModelIndex& index) { EmitGadgetEvent(Event::GadgetAction, this, index.row()); });
}

QListView* TListBoxGadget::List() const
{
    return static_cast<QListView*>(Widget());
}

void TListBoxGadget::SetRows(int count, std::function<QString(int row)> text)
{
    programmatic = true;
    model->Reset(count, std::move(text));
    programmatic = false;
}

int TListBoxGadget::RowCount() const
{
    return model->rowCount(QModelIndex());
}

QString TListBoxGadget::RowText(int row) const
{
    return model->Text(row);
}

void TListBoxGadget::SelectItem(int index, int select)
{
    programmatic = true;
    if (select && index >= 0 && index < model->rowCount()) {
        const QModelIndex row = model->index(index);
        List()->setCurrentIndex(row);
        List()->scrollTo(row);
    } else {
        List()->clearSelection();
    }
    programmatic = false;
}

int TListBoxGadget::SelectedItem() const
{
    const QModelIndexList selected = List()->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}
