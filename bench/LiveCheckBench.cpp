// The live check's cost on the main thread, in the whole editor: taking the text and handing it to
// the worker, showing a result as underlines, gutter markers and the count, and a keystroke in the
// middle of the 4,000,000-character script while the worker checks it. The worker's own time is the
// checker's business and not measured here.
#include "BenchEditor.h"
#include "BenchSupport.h"
#include "LuaScriptGenerator.h"

#include "app/Application.h"
#include "app/LiveCheck.h"
#include "app/RecoveryKeeper.h"
#include "event/EventQueue.h"
#include "gui/ScriptArea.h"
#include "tools/WProblems.h"

#include <QKeyEvent>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int Runs = 21;
constexpr int KeystrokeRuns = 41;
using namespace bench;
using namespace std::chrono_literals;

void Row(const char* label, double ms)
{
    std::printf("  %-64s %9.3f ms\n", label, ms);
}

void PaintPending()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

// One problem on every `step`-th line of the text, a warning over the line's first word; `tag` makes
// results of the same lines differ, so that each one is applied.
TCheckResult ProblemsEvery(const TGadget& area, int step, int count, int tag)
{
    TCheckResult result;
    const int lines = area.AreaLen(TextUnit::Lines) + 1;
    for (int line = 0; line < lines && int(result.problems.size()) < count; line += step) {
        const int start = area.CharAt(line);
        const int end = std::max(start + 1, area.CharAt(line + 1) - 1);
        result.problems.push_back({ start, std::min(end, start + 8), line, 0,
            line % 3 == 0 ? ProblemSeverity::Hint : ProblemSeverity::Warning,
            QStringLiteral("unused variable 'v%1' (%2)").arg(line).arg(tag) });
    }
    return result;
}

// Runs the loop until its queue is empty, as the editor does between the platform's events.
void DrainLoop()
{
    while (App->RunPass()) { }
}

// Hands the worker a check of the text as it stands, as the end of a pause does.
void StartCheck()
{
    App->LiveCheck->Changed();
    (void)App->LiveCheck->Pass([] { return App->CheckInput(); }, TLiveCheck::Clock::now() + 1h);
}
} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir folder;
    StartEditor(argc, argv, folder);
    // The recovery copy takes the text too, on its own schedule: kept out of these figures.
    App->Recovery->delay = std::chrono::hours(1);
    TGadget* area = App->Textarea;
    TScriptArea* script = ScriptArea(area);

    // A script of a thousand lines: the text taken and handed over, then a result of 100 problems shown.
    area->ReplaceText(0, -1, GenerateLuaScript(1000, 0), TextUnit::Chars);
    App->GlobalUpdateTextarea();
    DrainLoop();
    PaintPending();
    std::printf("Live check, the main thread's share (medians of %d runs, %d for keystrokes)\n", Runs, KeystrokeRuns);
    std::printf(
        "  a script of %d lines, %d characters\n", area->AreaLen(TextUnit::Lines) + 1, area->AreaLen(TextUnit::Chars));
    Row("take the text, hand it to the worker", MedianOf(Runs, nullptr, StartCheck));
    int tag = 0;
    TCheckResult result;
    Row("show 100 problems (underlines, markers, count) + paint",
        MedianOf(
            Runs, [&] { result = ProblemsEvery(*area, 10, 100, ++tag); },
            [&] {
                App->ShowProblems(result);
                PaintPending();
            }));

    // The big script with 10,000 problems, one every ten lines.
    area->ReplaceText(0, -1, GenerateLuaScript(100000, 4000000), TextUnit::Chars);
    App->GlobalUpdateTextarea();
    DrainLoop();
    PaintPending();
    std::printf(
        "  a script of %d lines, %d characters\n", area->AreaLen(TextUnit::Lines) + 1, area->AreaLen(TextUnit::Chars));
    Row("take the text, hand it to the worker", MedianOf(7, nullptr, StartCheck));
    Row("show 10,000 problems + paint",
        MedianOf(
            Runs, [&] { result = ProblemsEvery(*area, 10, 10000, ++tag); },
            [&] {
                App->ShowProblems(result);
                PaintPending();
            }));
    if (script->Indicators(DecorationLayer::Diagnostics).size() != 10000)
        std::fprintf(stderr, "live check: the 10,000 problems are not all shown\n");
    App->OpenProblems();
    Row("show 10,000 problems + paint, Problems window open",
        MedianOf(
            5, [&] { result = ProblemsEvery(*area, 10, 10000, ++tag); },
            [&] {
                App->ShowProblems(result);
                PaintPending();
            }));
    App->wProblems->Close();

    // A keystroke in the middle while the worker checks the whole script: the key, the editor's loop
    // over what it raised (colouring, the modified mark, the live check told) and the paint.
    const int middle = area->CharAt(area->AreaLen(TextUnit::Lines) / 2);
    area->SetSelection(middle, 0, TextUnit::Chars);
    const auto keystroke = [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(static_cast<TTextArea*>(area)->View(), &press);
        DrainLoop();
        PaintPending();
    };
    for (const bool withProblems : { false, true }) {
        App->ShowProblems(withProblems ? ProblemsEvery(*area, 10, 10000, ++tag) : TCheckResult());
        PaintPending();
        Row(withProblems ? "key 'x' in the middle, check running, 10,000 problems shown"
                         : "key 'x' in the middle, check running, no problems shown",
            MedianOf(
                KeystrokeRuns,
                [&] {
                    EventQueue.Clear();
                    StartCheck();
                },
                keystroke));
    }
    delete App;
    App = nullptr;
    return 0;
}
