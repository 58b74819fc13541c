#include "PreviewBench.h"

#include "BenchSupport.h"

#include "draw/Graphics.h"
#include "resources/EmbeddedFiles.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int Width = 640;
constexpr int Height = 480;
constexpr int Runs = 101;

using namespace bench;

// One call is too short to time alone, so each run repeats it and the median run is divided back.
double MedianPerCall(int repeats, const std::function<void()>& work)
{
    return MedianOf(Runs, nullptr, [&] {
        for (int i = 0; i < repeats; ++i)
            work();
    }) / repeats;
}

std::shared_ptr<TImage> GradientImage(TPixelFormat format)
{
    auto pixmap = std::make_shared<TPixmap>(Width, Height, format);
    const int step = BytesPerPixel(format);
    for (int y = 0; y < Height; ++y) {
        unsigned char* row = pixmap->Row(y);
        for (int x = 0; x < Width; ++x, row += step) {
            row[0] = static_cast<unsigned char>(x);
            row[1] = static_cast<unsigned char>(y);
            row[2] = static_cast<unsigned char>(x + y);
            if (step == 4)
                row[3] = 255;
        }
    }
    return TImage::FromPixmap(pixmap, 0);
}

void PrintRow(const char* label, double ms, double floor)
{
    std::printf("  %-52s %9.4f ms  %6.2fx floor\n", label, ms, floor > 0 ? ms / floor : 0.0);
}
} // namespace

void RunDrawBench()
{
    RegisterEmbeddedFiles();
    std::shared_ptr<TImageFont> font = LoadFontUrl("incbin::incbins/arial.ttf", 13, 4);
    std::shared_ptr<TImage> background = LoadImageUrl("incbin::incbins/hudtxt.jpg", -1);
    const std::shared_ptr<TImage> rgb = GradientImage(TPixelFormat::RGB888);
    const std::shared_ptr<TImage> rgba = GradientImage(TPixelFormat::RGBA8888);

    TGraphics graphics(Width, Height);
    std::vector<std::uint32_t> copy(graphics.Pixels().size());
    volatile std::uint32_t sink = 0;
    const double floor = MedianPerCall(20, [&] {
        std::memcpy(copy.data(), graphics.Pixels().data(), copy.size() * sizeof(std::uint32_t));
        sink = sink + copy[copy.size() / 2];
    });

    graphics.SetBlend(Blend::Alpha);
    auto drawImage = [&](const std::shared_ptr<TImage>& image) {
        return image ? MedianPerCall(20, [&] { graphics.DrawImage(*image, 0, 0); }) : 0.0;
    };
    const double rgbDraw = drawImage(rgb);
    const double rgbaDraw = drawImage(rgba);
    const double backgroundDraw = drawImage(background);

    const std::u16string line = u"Welcome to the server, have fun! 1234567";
    std::u16string page;
    while (page.size() < 4000)
        page += line + u' ';
    graphics.SetFont(font);
    graphics.SetColor(255, 220, 0);
    const double textDraw = MedianPerCall(200, [&] { graphics.DrawText(line, 100, 200); });
    const double pageDraw = MedianPerCall(20, [&] { graphics.DrawText(page, 100, 200); });
    const double leftDraw = MedianPerCall(20, [&] { graphics.DrawText(page, -100000, 200); });
    sink = sink + graphics.Pixel(320, 240);

    std::printf("\nHUD preview drawing on a %d x %d surface; medians of %d runs\n", Width, Height, Runs);
    PrintRow("floor: memcpy of the 32-bit surface", floor, floor);
    PrintRow("DrawImage 640x480 RGB888, white, alpha 1, Alpha", rgbDraw, floor);
    PrintRow("DrawImage 640x480 opaque RGBA8888, same state", rgbaDraw, floor);
    PrintRow("DrawImage HUD background as loaded (flags -1)", backgroundDraw, floor);
    PrintRow("DrawText 40 characters, HUD font", textDraw, floor);
    PrintRow("DrawText 4000 characters, running off the right", pageDraw, floor);
    PrintRow("DrawText 4000 characters, from x = -100000", leftDraw, floor);
    if (!font || !background)
        std::printf("  (the embedded font or background did not load)\n");
}
