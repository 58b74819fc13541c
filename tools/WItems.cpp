#include "tools/WItems.h"

#include "gui/GadgetFactory.h"
#include "resources/Stream.h"
#include "resources/StreamException.h"

namespace {
// Every line of the embedded list is "id|name"; a line without a bar is no item and is left out.
void FillItems(TGadget* list)
{
    std::unique_ptr<TStream> stream = OpenReadStream(QStringLiteral("incbin::incbins/items.txt"));
    if (!stream)
        return;
    try {
        while (!StreamEof(*stream)) {
            const QString line = stream->ReadLine();
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            if (bar < 0)
                continue;
            const QString id = line.left(bar);
            AppendItem(list, QLatin1Char('[') + id + QStringLiteral("] ") + line.mid(bar + 1), 0, -1, {}, id);
        }
    } catch (const TStreamException&) {
        // The list is built into the program; a damaged copy shows what could be read.
    }
    CloseStream(*stream);
}
} // namespace

void TWItems::Init(TGadget* mainWindow)
{
    // The only dialog whose size includes its frame and title bar.
    Window = MakeWindow("Insert item id...", 0, 0, 200, 110, mainWindow, ToolWindowStyle & ~WindowStyle::ClientCoords);
    MakeLabel("Select item:", 5, 5, 190, 15, Window, 0);
    cbItems = MakeComboBox(5, 20, 185, 20, Window, 0);
    bOk = MakeButton("OK", 5, 55, 90, 25, Window, PushButtonStyle);
    bClose = MakeButton("Close", 100, 55, 90, 25, Window, PushButtonStyle);
    FillItems(cbItems);
    cbItems->SelectItem(0, 1);
}

bool TWItems::HandleAction(const TEvent& event)
{
    const TGadget* source = event.source;
    if (!source)
        return false;
    if (source == bOk)
        InsertId();
    else if (source == bClose)
        Close();
    else
        return source == cbItems; // choosing an entry does nothing by itself
    return true;
}

void TWItems::InsertId()
{
    const int selected = cbItems->SelectedItem();
    if (selected < 0) {
        Close();
        return;
    }
    const std::any extra = cbItems->ItemExtra(selected);
    const QString* id = std::any_cast<QString>(&extra);
    InsertAndClose(id ? *id : QString());
}
