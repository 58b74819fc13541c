#include "app/ColourSwatches.h"

#include "gui/Gadget.h"
#include "gui/ScriptArea.h"
#include "gui/SystemDriver.h"
#include "resources/ColourCodeScanner.h"
#include "tools/ColorCode.h"

#include <algorithm>

namespace {
// Long enough that typing a code's nine digits does not flicker a swatch in and out between them.
constexpr int RestMilliseconds = 250;
constexpr int Digits = 9;
} // namespace

QString SwatchTooltip(int red, int green, int blue)
{
    // Rich text, so that the tip shows the colour itself as well as its numbers.
    return QStringLiteral("<span style=\"background-color:#%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span>&nbsp;"
                          "Colour %2, %3, %4 (Ctrl+click to change it)")
        .arg(QString::number(red << 16 | green << 8 | blue, 16).rightJustified(6, u'0'))
        .arg(red)
        .arg(green)
        .arg(blue);
}

TColourSwatches::TColourSwatches(
    TGadget& textarea, std::function<bool(int pos, int length, const QString& text)> replace)
    : textarea(textarea)
    , replace(std::move(replace))
{
    rest.setSingleShot(true);
    rest.setInterval(RestMilliseconds);
    QObject::connect(&rest, &QTimer::timeout, [this] { Refresh(); });
    TScriptArea* area = ScriptArea(&textarea);
    subscription = area->Subscribe([this](const TAreaChange& change) {
        if (change.text)
            rest.start();
    });
    area->OnSwatchClick([this](const TIndicator& swatch) { Pick(swatch); });
}

TColourSwatches::~TColourSwatches()
{
    if (TScriptArea* area = ScriptArea(&textarea)) {
        area->Unsubscribe(subscription);
        area->OnSwatchClick(nullptr);
    }
}

void TColourSwatches::Refresh()
{
    rest.stop();
    const QString text = textarea.AreaText(0, -1, TextUnit::Chars);
    std::vector<TIndicator> swatches;
    for (const TColourCode& code : FindColourCodes(text)) {
        if (!code.Valid())
            continue;
        const uint32_t colour = 0xFF000000u | uint32_t(code.r) << 16 | uint32_t(code.g) << 8 | uint32_t(code.b);
        swatches.push_back({ static_cast<int>(code.start), static_cast<int>(code.start + code.length),
            TIndicatorKind::Swatch, colour, SwatchTooltip(code.r, code.g, code.b) });
    }
    TScriptArea* area = ScriptArea(&textarea);
    // Mostly nothing changed: the edits since moved the swatches along with their codes.
    if (swatches != area->Indicators(DecorationLayer::Swatches))
        area->SetIndicators(DecorationLayer::Swatches, std::move(swatches));
}

void TColourSwatches::Pick(const TIndicator& clicked)
{
    // The code as it stands now: an edit since the last look may have changed or broken it.
    Refresh();
    const std::vector<TIndicator>& swatches = ScriptArea(&textarea)->Indicators(DecorationLayer::Swatches);
    const auto found = std::find_if(swatches.begin(), swatches.end(),
        [&clicked](const TIndicator& swatch) { return swatch.start == clicked.start; });
    if (found == swatches.end())
        return;
    const TIndicator swatch = *found;
    if (!RequestColor((swatch.colour >> 16) & 255, (swatch.colour >> 8) & 255, swatch.colour & 255))
        return;
    // The digits are the code's last nine units; the marker before them ("©" or "\169") stays as written.
    const int digitsAt = swatch.end - Digits;
    const QString digits = ColorCode(ChosenRed(), ChosenGreen(), ChosenBlue()).right(Digits);
    if (textarea.AreaText(digitsAt, Digits, TextUnit::Chars) == digits)
        return;
    if (replace(digitsAt, Digits, digits))
        Refresh();
}
