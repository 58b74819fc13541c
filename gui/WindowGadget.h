// Top-level windows: the main window and the tool dialogs, with their menu bars.
#pragma once

#include "gui/GadgetStyles.h"
#include "gui/WidgetGadget.h"

class TMenuGadget;

class TWindowGadget : public TWidgetGadget {
public:
    TWindowGadget(TGadget* group, int style);
    ~TWindowGadget() override;

    QWidget* ClientWidget() const override { return client; }

    void SetText(const QString& text) override;
    int State() const override;
    void Activate(int command) override;
    void SetPixmap(const std::shared_ptr<TPixmap>& pixmap, int flags) override;
    void SetMinimumSize(int w, int h) override;
    TGadget* GetMenu() override;
    void UpdateMenu() override;

    // The platform resized or moved the window (the user dragged it): the shape follows, kids are laid out.
    void ClientResized(int clientWidth, int clientHeight, bool byUser);
    void Moved(int x, int y, bool byUser);

protected:
    void ApplyShape() override;
    void ApplyVisibility() override;
    int ClientInsetWidth() const override;
    int ClientInsetHeight() const override;

private:
    int MenuBarHeight() const;

    QWidget* client = nullptr;
    TMenuGadget* rootMenu = nullptr;
    bool applyingShape = false;
};

// What a window frame and caption take, for windows whose given size is the outer size.
inline constexpr int WindowFrameWidth = 6;
inline constexpr int WindowFrameHeight = 23;
