// The text area with the generated script, its lines wrapping at the view's edge and not: a key and
// Enter in the middle of the script and a resize by a pixel, each with the repaint it causes, and the
// time turning wrapping on takes (every line's rows estimated, the shown ones laid out). Unstyled, so
// that the figures are the view's own.
#include "BenchSupport.h"
#include "LuaScriptGenerator.h"

#include "event/EventQueue.h"
#include "gui/GuiDriver.h"

#include <QKeyEvent>

#include <cstdio>

namespace {
constexpr int Runs = 7;
constexpr int KeystrokeRuns = 41;
using namespace bench;

void Press(QWidget* view, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(view, &press);
}
} // namespace

int main(int argc, char** argv)
{
    // Headless by default, so that the figures do not depend on a display server.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    StartGui(argc, argv);
    TTextArea* area = MakeBenchTextArea();
    const QString script = GenerateLuaScript(100000, 4000000);
    QWidget* view = area->View();
    QWidget* viewport = area->View()->viewport();
    for (const bool wrap : { false, true }) {
        // Each pass edits the script as generated.
        area->ReplaceText(0, -1, script, TextUnit::Chars);
        TViewOptions options = area->ViewOptions();
        options.wordWrap = wrap;
        const double switched = TimeOnce([&] {
            area->SetViewOptions(options);
            viewport->repaint();
        });
        const int middle = area->AreaLen(TextUnit::Lines) / 2;
        area->SetSelection(area->CharAt(middle) + 3, 0, TextUnit::Chars);
        QApplication::processEvents();
        const auto key = [&](Qt::Key pressed, const QString& text) {
            return MedianOf(
                KeystrokeRuns, [&] { EventQueue.Clear(); },
                [&] {
                    Press(view, pressed, text);
                    viewport->repaint();
                });
        };
        int step = 0;
        const double resize = MedianOf(Runs, nullptr, [&] {
            view->resize(view->width() + (++step % 2 ? -1 : 1), view->height());
            viewport->repaint();
        });
        const double keystroke = key(Qt::Key_X, QStringLiteral("x"));
        const double enter = key(Qt::Key_Return, QStringLiteral("\r"));
        std::printf("Word wrap %s (medians of %d runs, %d for keys)\n", wrap ? "on" : "off", Runs, KeystrokeRuns);
        if (wrap)
            std::printf("  %-44s %9.3f ms\n", "turning it on + repaint", switched);
        std::printf("  %-44s %9.3f ms\n", "key 'x' in the middle + repaint", keystroke);
        std::printf("  %-44s %9.3f ms\n", "Enter in the middle + repaint", enter);
        std::printf("  %-44s %9.3f ms\n", "a resize by a pixel + repaint", resize);
    }
    return 0;
}
