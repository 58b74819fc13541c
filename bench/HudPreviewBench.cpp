#include "HudPreviewBench.h"

#include "BenchSupport.h"

#include "draw/Graphics.h"
#include "gui/GadgetFactory.h"
#include "gui/GuiDriver.h"
#include "resources/EmbeddedFiles.h"
#include "tools/StartupResources.h"
#include "tools/WHudtxt.h"

#include <cstdio>
#include <cstring>
#include <vector>

using namespace bench;

namespace {
constexpr int Frames = 201;
} // namespace

int HudPreviewScenario(int argc, char** argv)
{
    RegisterEmbeddedFiles();
    StartGui(argc, argv);
    LoadStartupResources();
    TGadget* window = MakeWindow(QStringLiteral("bench"), 0, 0, 800, 600, nullptr, WindowStyle::TitleBar);
    TWHudtxt hud { TToolHost {} };
    hud.Init(window);

    // The floor: the background's pixels copied once into a surface of the same size.
    const std::shared_ptr<TGraphics> graphics = hud.Canvas->CanvasGraphics();
    std::vector<std::uint32_t> background = graphics->Pixels();
    std::vector<std::uint32_t> copy(background.size());
    Report("hud_floor_ms", MedianOf(Frames, nullptr, [&] {
        std::memcpy(copy.data(), background.data(), background.size() * sizeof(std::uint32_t));
        // Keeps the copy from being optimised away.
        background[0] ^= copy[background.size() / 2];
    }));

    // A frame is drawn only when what it shows changed: each run moves the text by a pixel.
    const QString sign = QStringLiteral("\u00a9");
    hud.tfText->SetText(sign + "255000000Round " + sign + "000255000starts in 10s!");
    hud.tfY->SetText(QStringLiteral("200"));
    int x = 100;
    Report("hud_frame_chars", hud.tfText->GetText().size());
    const auto frame = [&] {
        hud.tfX->SetText(QString::number(x++ % 400));
        hud.Draw();
    };
    Report("hud_frame_ms", MedianOf(Frames, nullptr, frame));
    // The longest text the field takes, mostly past the preview's edge.
    hud.tfText->SetText(QString(32767, QLatin1Char('W')));
    Report("hud_long_frame_ms", MedianOf(Frames / 4, nullptr, frame));
    Report("hud_frames_drawn", static_cast<double>(hud.FramesDrawn()));
    return 0;
}
