// Tree views and their nodes.
#pragma once

#include "gui/WidgetGadget.h"

class QTreeWidget;
class QTreeWidgetItem;
class TTreeViewGadget;

// One node; the tree's invisible root is a node too. Nodes are kids of their parent node.
class TNodeGadget : public TGadget {
public:
    TNodeGadget(TTreeViewGadget* tree, TGadget* parentNode, QTreeWidgetItem* item);
    ~TNodeGadget() override;

    QTreeWidgetItem* Item() const { return item; }
    TTreeViewGadget* Tree() const { return tree; }

    TGadget* InsertNode(int index, const QString& text, int icon) override;
    void SetText(const QString& text) override;
    QString GetText() const override;
    void Activate(int command) override;

private:
    TTreeViewGadget* tree;
    QTreeWidgetItem* item;
    bool isRoot;
};

class TTreeViewGadget : public TWidgetGadget {
public:
    TTreeViewGadget(TGadget* group, int style);
    ~TTreeViewGadget() override;

    TGadget* RootNode() override { return root; }
    TGadget* SelectedNode() const override;
    QTreeWidget* Tree() const;

    // Selection, expansion and collapse made by the program report nothing.
    void SelectQuietly(TNodeGadget* node);
    void ExpandQuietly(TNodeGadget* node, bool expand);
    static TNodeGadget* NodeOf(QTreeWidgetItem* item);

private:
    TNodeGadget* root = nullptr;
    bool programmatic = false;
};
