// TToolDialog: the life every tool dialog shares. Built hidden once at start-up, shown and hidden, never
// destroyed, never modal; the main loop offers it the events of its gadgets.
#pragma once

#include "gui/GadgetStyles.h"
#include "tools/ToolHost.h"
#include "tools/WizardCalls.h"

#include <optional>

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
    // held when it was last hidden. It inserts new code: a call it was opened to replace is forgotten.
    void Open();
    // Hides the window and gives the script's text area the focus; a call it was replacing is forgotten.
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
    // While the dialog replaces a call, this replaces the call instead, as one undo step, and puts the
    // caret behind the new one. A call that no longer stands where it stood (the script was edited
    // meanwhile) is left alone: the dialog stays open, says so and inserts at the caret from then on.
    bool InsertAndClose(const QString& text, bool recolourCursorLine = true);
    // Says in `label` whether the code the dialog would insert compiles, before it is inserted: the
    // fields go into the code as typed, so a slip shows here rather than in the game's console.
    void ShowCompileCheck(TGadget* label, const QString& code) const;

    // What shows that the dialog replaces a call: its create button, with the label it has then, the
    // label where it says why it does not, and a gadget that has no say in a replacement, greyed meanwhile.
    struct TReplaceGadgets {
        TGadget* button = nullptr;
        QString label;
        TGadget* info = nullptr;
        TGadget* unused = nullptr;
    };
    // Opens the dialog on a call of the script, to replace it: the caller fills the dialog from the
    // fields returned. A call that does not fit opens it for new code with the reason in the info label,
    // and gives null.
    template <class TFields> const TFields* OpenToEdit(const TWizardCall& call, const TReplaceGadgets& gadgets)
    {
        const TFields* fields = std::get_if<TFields>(&call.fields);
        if (!fields || !call.refusal.isEmpty()) {
            OpenRefused(call.refusal, gadgets.info);
            return nullptr;
        }
        OpenToReplace(call.start, call.end, gadgets);
        return fields;
    }
    bool Replacing() const { return replaced.has_value(); }

    TToolHost host;

private:
    struct TReplacedCall {
        int start = 0;
        QString text;
        TReplaceGadgets gadgets;
        QString buttonText;
    };
    // Opens the dialog to rewrite the script's characters [start, end), a call the fields are filled from.
    void OpenToReplace(int start, int end, const TReplaceGadgets& gadgets);
    void OpenRefused(const QString& reason, TGadget* info);
    void StopReplacing();
    bool ReplaceAndClose(const QString& text);
    // A message in an info label, which gets its own text back when the dialog is next opened, unless
    // the dialog has written another one there meanwhile.
    void Tell(TGadget* info, const QString& message);

    std::optional<TReplacedCall> replaced;
    struct TToldMessage {
        TGadget* info = nullptr;
        QString textBefore;
        QString message;
    };
    std::optional<TToldMessage> told;
};
