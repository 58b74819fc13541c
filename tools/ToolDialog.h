// TToolDialog: the life every tool dialog shares. Built hidden once at start-up, shown and hidden, never
// destroyed, never modal; the main loop offers it the events of its gadgets.
#pragma once

#include "gui/GadgetStyles.h"
#include "tools/ToolHost.h"

struct TEvent;

class TToolDialog {
public:
    explicit TToolDialog(TToolHost toolHost)
        : host(std::move(toolHost))
    {
    }
    virtual ~TToolDialog() = default;
    TToolDialog(const TToolDialog&) = delete;
    TToolDialog& operator=(const TToolDialog&) = delete;

    // The dialog's window; it belongs to the main window's tree.
    TGadget* Window = nullptr;

    // Shows the window, or brings it to the front when it is shown already; its fields keep what they
    // held when it was last hidden.
    void Open();
    // Hides the window and gives the script's text area the focus.
    void Close();
    // A WindowClose from this dialog's window (its close box, or Escape) closes it; false for any other
    // source.
    bool HandleClose(const TGadget* source);
    // A GadgetAction from one of the dialog's gadgets; false when the event is not the dialog's.
    virtual bool HandleAction(const TEvent& event) = 0;

protected:
    // A tool window: a small title bar, the given size its client area, hidden, centred on the main window.
    static constexpr int ToolWindowStyle = WindowStyle::TitleBar | WindowStyle::ToolWindow | WindowStyle::ClientCoords
        | WindowStyle::Hidden | WindowStyle::Centred;
    static constexpr int PushButtonStyle = ButtonStyle::Push | ButtonStyle::PushLike;

    // What every tool does with the code it built: inserts it at the caret and closes. Code the script
    // has no room for stays out, and so does the dialog stay open with its fields; the host says why.
    bool InsertAndClose(const QString& text, bool recolourCursorLine = true);
    // Says in `label` whether the code the dialog would insert compiles, before it is inserted: the
    // fields go into the code as typed, so a slip shows here rather than in the game's console.
    void ShowCompileCheck(TGadget* label, const QString& code) const;

    TToolHost host;
};
