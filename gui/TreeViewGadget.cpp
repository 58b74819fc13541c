#include "gui/TreeViewGadget.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

namespace {
constexpr int NodeRole = Qt::UserRole + 1;

class TreeWidget : public QTreeWidget {
public:
    TreeWidget(TGadget* gadget, QWidget* parent)
        : QTreeWidget(parent)
        , gadget(gadget)
    {
    }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        const QPoint at = viewport()->mapFrom(this, event->pos());
        EmitGadgetEvent(Event::GadgetMenu, gadget, 0, at.x(), at.y());
    }

    // Enter picks the selected node as a double click does, so that a tree works from the keyboard. It
    // stops here: the dialog around the tree must not take it for one of its own keys as well.
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return QTreeWidget::keyPressEvent(event);
        event->accept();
        if (TGadget* node = gadget->SelectedNode())
            EmitGadgetEvent(Event::GadgetAction, gadget, 0, 0, 0, std::any(node));
    }

private:
    TGadget* gadget;
};
} // namespace

TNodeGadget::TNodeGadget(TTreeViewGadget* tree, TGadget* parentNode, QTreeWidgetItem* item)
    : TGadget(GadgetClass::Node, parentNode, 0)
    , tree(tree)
    , item(item)
    , isRoot(parentNode == nullptr)
{
    visible = 1;
    item->setData(0, NodeRole, QVariant::fromValue(static_cast<void*>(this)));
}

TNodeGadget::~TNodeGadget()
{
    while (!kids.empty()) {
        TGadget* kid = kids.back();
        kids.pop_back();
        kid->parent = nullptr;
        delete kid;
    }
    if (!isRoot)
        delete item;
}

TGadget* TNodeGadget::InsertNode(int index, const QString& text, int icon)
{
    const int count = item->childCount();
    if (index < 0 || index > count)
        index = count;
    auto* child = new QTreeWidgetItem(QStringList { text });
    item->insertChild(index, child);
    auto* node = new TNodeGadget(tree, this, child);
    node->name = text;
    kids.insert(kids.begin() + index, node);
    return node;
}

void TNodeGadget::SetText(const QString& text)
{
    TGadget::SetText(text);
    if (!isRoot)
        item->setText(0, text);
}

QString TNodeGadget::GetText() const
{
    return isRoot ? QString() : item->text(0);
}

void TNodeGadget::Activate(int command)
{
    switch (command) {
    case ActivateCommand::Expand:
        tree->ExpandQuietly(this, true);
        break;
    case ActivateCommand::Collapse:
        tree->ExpandQuietly(this, false);
        break;
    case ActivateCommand::Select:
        tree->SelectQuietly(this);
        break;
    default:
        break;
    }
}

TTreeViewGadget::TTreeViewGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::TreeView, group, style)
{
    auto* widget = new TreeWidget(this, ParentWidgetFor(group));
    widget->setHeaderHidden(true);
    widget->setColumnCount(1);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    SetWidget(widget);
    root = new TNodeGadget(this, nullptr, widget->invisibleRootItem());

    QObject::connect(widget, &QTreeWidget::itemSelectionChanged, [this] {
        if (programmatic)
            return;
        TGadget* node = SelectedNode();
        EmitGadgetEvent(Event::GadgetSelect, this, 0, 0, 0, node ? std::any(node) : std::any());
    });
    // Not itemActivated: styles that activate on a single click would make every selection an action.
    QObject::connect(widget, &QTreeWidget::itemDoubleClicked, [this](QTreeWidgetItem* item) {
        TGadget* node = NodeOf(item);
        EmitGadgetEvent(Event::GadgetAction, this, 0, 0, 0, node ? std::any(node) : std::any());
    });
    QObject::connect(widget, &QTreeWidget::itemExpanded, [this](QTreeWidgetItem* item) {
        if (!programmatic)
            EmitGadgetEvent(Event::GadgetOpen, this, 0, 0, 0, std::any(static_cast<TGadget*>(NodeOf(item))));
    });
    QObject::connect(widget, &QTreeWidget::itemCollapsed, [this](QTreeWidgetItem* item) {
        if (!programmatic)
            EmitGadgetEvent(Event::GadgetClose, this, 0, 0, 0, std::any(static_cast<TGadget*>(NodeOf(item))));
    });
}

TTreeViewGadget::~TTreeViewGadget()
{
    delete root;
}

QTreeWidget* TTreeViewGadget::Tree() const
{
    return static_cast<QTreeWidget*>(Widget());
}

TNodeGadget* TTreeViewGadget::NodeOf(QTreeWidgetItem* item)
{
    return item ? static_cast<TNodeGadget*>(item->data(0, NodeRole).value<void*>()) : nullptr;
}

TGadget* TTreeViewGadget::SelectedNode() const
{
    const auto selected = Tree()->selectedItems();
    return selected.isEmpty() ? nullptr : NodeOf(selected.first());
}

void TTreeViewGadget::SelectQuietly(TNodeGadget* node)
{
    programmatic = true;
    Tree()->setCurrentItem(node->Item());
    node->Item()->setSelected(true);
    programmatic = false;
}

void TTreeViewGadget::ExpandQuietly(TNodeGadget* node, bool expand)
{
    programmatic = true;
    node->Item()->setExpanded(expand);
    programmatic = false;
}
