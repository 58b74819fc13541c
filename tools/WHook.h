// TWHook: the hook wizard. The user picks one of the game's script hooks from the catalogue in its tree
// and inserts the addhook registration, with the head of a matching handler when asked, at the caret.
//
// The tree is built from the hook catalogue: each hook node carries its handler's parameter list as its
// extra QString, and category nodes carry nothing, which is how the two kinds are told apart.
#pragma once

#include "tools/ToolDialog.h"

#include <QString>

class TGadget;

class TWHook : public TToolDialog {
public:
    using TToolDialog::TToolDialog;

    TGadget* tvHook = nullptr;
    TGadget* tvRoot = nullptr;
    TGadget* subBasic = nullptr;
    TGadget* subTime = nullptr;
    TGadget* subPlayer = nullptr;
    TGadget* subObject = nullptr;
    // The signature of the hook last chosen in the tree with a double click or Enter.
    TGadget* lInfo = nullptr;
    TGadget* bAdd = nullptr;
    TGadget* bClose = nullptr;
    TGadget* cbGenFunc = nullptr;
    TGadget* tfVariable = nullptr;
    // Says when the code "Add hook" would insert does not compile.
    TGadget* lCheck = nullptr;

    // Builds the hidden window in `mainWindow` with the whole catalogue, every category collapsed.
    void Init(TGadget* mainWindow);
    bool HandleAction(const TEvent& event) override;
    // Opens the wizard filled from an addhook call of the script, to replace it; a call that does not
    // fit opens it for new code, saying why.
    void Edit(const TWizardCall& call);

private:
    // The code "Add hook" inserts: the registration and, when `generateFunction`, a line break, the
    // leading tabs of `caretLine` and the handler's head. Names go in as typed: a modder may write a Lua
    // expression on purpose.
    static QString HookCode(const QString& hook, const QString& parameters, const QString& variable,
        bool generateFunction, const QString& caretLine);
    // Shows the selected node's signature in lInfo.
    void ShowInfo();
    // Compiles what "Add hook" would insert now, the handler's head closed by an `end`, and says in
    // lCheck when it does not compile.
    void CheckCode();
    // Inserts the selected hook's code and closes; with no hook selected it does nothing.
    void AddHook();
};
