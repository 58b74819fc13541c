// The creation functions and item helpers the application builds its windows with.
#pragma once

#include "gui/Gadget.h"
#include "gui/GadgetStyles.h"
#include "gui/GuiDriver.h"
#include "gui/IconStrip.h"

#include <QString>
#include <QStringList>

TGadget* MakeWindow(const QString& title, int x, int y, int w, int h, TGadget* group, int style);
TGadget* MakeButton(const QString& text, int x, int y, int w, int h, TGadget* group, int style);
TGadget* MakePanel(int x, int y, int w, int h, TGadget* group, int style, const QString& title = QString());
TGadget* MakeTextField(int x, int y, int w, int h, TGadget* group, int style);
TGadget* MakeTextArea(int x, int y, int w, int h, TGadget* group, int style);
TGadget* MakeComboBox(int x, int y, int w, int h, TGadget* group, int style);
TGadget* MakeTreeView(int x, int y, int w, int h, TGadget* group, int style);
// One column of rows (SetRows); Enter or a double click raises GadgetAction with the row as its data.
TGadget* MakeListBox(int x, int y, int w, int h, TGadget* group, int style);
TGadget* MakeLabel(const QString& text, int x, int y, int w, int h, TGadget* group, int style);
TGadget* MakeCanvas(int x, int y, int w, int h, TGadget* group, int style);
// One item per icon of the strip: item i with empty text and tip, icon i, flags 0, no extra.
TGadget* MakeToolbar(const std::shared_ptr<TIconStrip>& strip, int x, int y, int w, int h, TGadget* group, int style);
TGadget* MakeToolbar(const QString& url, int x, int y, int w, int h, TGadget* group, int style);
// The tag travels as the item's style; a key other than 0 becomes its hot key. Without a parent it
// makes a pop-up menu of its own (TGadget::PopupMenu), whose kids are its items; Free releases it.
TGadget* MakeMenuItem(const QString& text, int tag, TGadget* parent, int key = 0, int modifiers = 0);

// Where MakeWindow puts a centred window: over its group, or over the desktop's work area.
void CentredWindowPosition(int w, int h, TGadget* group, int& x, int& y);

void AppendItem(TGadget* gadget, const QString& text, int flags, int icon, const QString& tip, std::any extra);
// Clears (on) or sets (off) the disabled bit of the item's state.
void SetItemEnabled(TGadget* gadget, int index, bool on);
void SetToolbarItemTips(TGadget* toolbar, const QStringList& tips);
TGadget* AppendNode(const QString& text, TGadget* parent, int icon, std::any extra);
