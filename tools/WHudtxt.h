// TWHudtxt: the HUD text wizard. A preview of the game screen with the text drawn in its colours where
// the game will show it, and the settings of the hudtxt command; "Create hudtxt" inserts the parse call
// at the caret. Clicking or dragging in the preview moves the text there.
#pragma once

#include "tools/ToolDialog.h"

#include <QString>

#include <cstdint>
#include <optional>

class TWHudtxt : public TToolDialog {
public:
    using TToolDialog::TToolDialog;

    TGadget* Canvas = nullptr;
    TGadget* pFields = nullptr;
    TGadget* tfText = nullptr;
    TGadget* tfX = nullptr;
    TGadget* tfY = nullptr;
    TGadget* bClose = nullptr;
    TGadget* bCreate = nullptr;
    TGadget* cbAlign = nullptr;
    TGadget* cbID = nullptr;
    TGadget* cbType = nullptr;
    TGadget* lVar = nullptr;
    TGadget* tfVar = nullptr;
    // Why a call of the script could not be read into the settings.
    TGadget* lInfo = nullptr;
    // Says when the call "Create hudtxt" would insert does not compile.
    TGadget* lCheck = nullptr;

    // Builds the hidden window in `mainWindow`. Its canvas becomes the drawing target, with the preview
    // font and alpha blending, and the only source of the polled mouse.
    void Init(TGadget* mainWindow);
    bool HandleAction(const TEvent& event) override;
    // Opens the wizard set from a hudtxt or hudtxt2 call of the script, to replace it; the preview
    // shows its text where it stands. A call that does not fit opens it for new code, saying why.
    void Edit(const TWizardCall& call);

    // One frame of the preview. While the left button is held on the preview, the pointer's place goes
    // into X and Y first. A frame that would show what is on the screen already is not drawn again.
    void Draw();
    // A button let go on the preview: the left one leaves the text where it was let go, even when the
    // pointer's last moves came with the release and no frame showed them.
    void Released(int button, int x, int y);
    // The number of frames drawn and presented so far.
    int64_t FramesDrawn() const { return framesDrawn; }

    // The call "Create hudtxt" inserts, from the settings as they stand. The text, X, Y and the variable go
    // in as typed: a modder may put a Lua expression between the quotes on purpose.
    QString HudtxtCall() const;

private:
    // What a frame shows; equal keys mean equal pixels.
    struct TFrameKey {
        QString text;
        int32_t x = 0;
        int32_t y = 0;
        int align = 0;
        bool operator==(const TFrameKey&) const = default;
    };
    std::optional<TFrameKey> shown;
    int64_t framesDrawn = 0;
};
