// TWSettings: the editor's settings and the dialog that edits them with a live preview.
//
// The settings are one plain value (Values()) that the dialog's gadgets show and write back into as the
// user changes them; everything else reads the value, never a gadget. Every change takes effect in
// memory at once. config.dat is read when the dialog is built and written when a colour is chosen,
// when the dialog closes and when the program ends, but only when its bytes would change: an editor
// that changed nothing never puts back over another editor's new settings the old ones it read.
#pragma once

#include "highlight/TokenClass.h"
#include "settings/ConfigRecord.h"

#include <QString>

#include <optional>

class TGadget;
struct TEvent;

class TWSettings {
public:
    TWSettings() = default;
    TWSettings(const TWSettings&) = delete;
    TWSettings& operator=(const TWSettings&) = delete;

    // The gadgets belong to the main window's tree; the object only points at them.
    TGadget* Window = nullptr;
    TGadget* pathGame = nullptr;
    TGadget* bPathGame = nullptr;
    TGadget* pathDedi = nullptr;
    TGadget* bPathDedi = nullptr;
    TGadget* pColors = nullptr;
    TGadget* colBack = nullptr;
    TGadget* bIndent = nullptr;
    TGadget* colText = nullptr;
    TGadget* bTextBold = nullptr;
    TGadget* bTextItalic = nullptr;
    TGadget* colComment = nullptr;
    TGadget* bCommentBold = nullptr;
    TGadget* bCommentItalic = nullptr;
    TGadget* colNumber = nullptr;
    TGadget* bNumberBold = nullptr;
    TGadget* bNumberItalic = nullptr;
    TGadget* colBracket = nullptr;
    TGadget* bBracketBold = nullptr;
    TGadget* bBracketItalic = nullptr;
    TGadget* colSign = nullptr;
    TGadget* bSignBold = nullptr;
    TGadget* bSignItalic = nullptr;
    TGadget* colkeyword = nullptr;
    TGadget* bkeywordBold = nullptr;
    TGadget* bkeywordItalic = nullptr;
    TGadget* colString = nullptr;
    TGadget* bStringBold = nullptr;
    TGadget* bStringItalic = nullptr;
    TGadget* Textarea = nullptr; // the preview
    // 1 after any colour or style change since the dialog was last opened.
    int Changed = 0;

    // The settings in effect.
    const TConfigRecord& Values() const { return values; }
    // Takes other settings and shows them, as if the user had set each one in the dialog.
    void SetValues(const TConfigRecord& settings);

    // Builds the hidden dialog in `mainWindow`, decides where config.dat lives for this run and
    // loads it. Update gives `mainTextarea` the background colour.
    int Init(TGadget* mainWindow, TGadget* mainTextarea);
    // Paints the swatches and the preview in the settings' colours and styles, and applies the
    // background colour to the main text area.
    int Update();
    // Each opens the colour requester on its current colour and takes the answer unless cancelled.
    int BackColor();
    int TextColor();
    int CommentColor();
    int NumberColor();
    int BracketColor();
    int SignColor();
    int KeywordColor();
    int StringColor();
    // Writes config.dat unless it holds these settings already, as far as this editor last read or
    // wrote it; on any failure the old file stays as it was.
    int SaveCfg();
    // Writes a config.dat of defaults.
    int CreateCfg();
    // Reads config.dat, creating it when it does not exist; whatever it lacks keeps its default.
    int LoadCfg();
    // The preview's key filter: it swallows every key.
    static int NothingFilter(TEvent& event, void* context);

    // For the main loop.
    // A GadgetAction of the dialog: a path typed, a box ticked (a style box also calls Update) or a
    // "..." button. False when `source` is none of the dialog's gadgets.
    bool HandleAction(const TGadget* source);
    // One of the fourteen bold and italic boxes.
    bool IsStyleBox(const TGadget* gadget) const;
    // A MouseDown on a colour swatch: runs its colour method. False when `source` is no swatch.
    bool ColourSwatchClicked(const TGadget* source);
    // A GadgetAction of a "..." button: asks for the executable. False when `button` is neither.
    bool ChoosePath(const TGadget* button);
    // The Settings command: shows the dialog with Changed cleared, unless it is already shown.
    void Open();
    // Closing the dialog: hides it, focuses the main text area and writes what changed. True when the
    // colours or styles changed while it was open, so that the caller re-colours the whole text.
    bool Close();
    // The message for a failed write of config.dat, to be shown once: empty again until a write has
    // worked and a later one failed.
    QString TakeWriteFailure();

    // The settings file chosen for this run by Init.
    const QString& ConfigPath() const { return configPath; }

private:
    int ChooseClassColour(TTokenClass token);
    // Shows the settings in the text fields and check boxes.
    void Show();
    int ColourChosen();

    TConfigRecord values;
    TGadget* mainTextarea = nullptr;
    QString configPath;
    // What config.dat held when this editor last read or wrote it; nothing when it could not be read.
    std::optional<QByteArray> fileBytes;
    bool writeFailed = false;
    bool failureTold = false;
};
