// The live check's results in the editor: a wavy underline and a gutter marker for each problem, the
// count in the status line, F8 and Shift+F8 from one problem to the next, and the Problems window.
#include "app/Application.h"

#include "gui/Gadget.h"
#include "gui/ScriptArea.h"
#include "settings/WSettings.h"
#include "tools/WProblems.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {
const QString SyntaxNote = QStringLiteral(
    "Only the first syntax error is known: Lua stops there, so the ones after it show once it is fixed.");

// How each severity shows, in the order of ProblemSeverity: red, amber and blue.
struct TSeverityLook {
    uint32_t colour;
    TMarkerKind marker;
    const char* name;
    const char* plural;
};
constexpr TSeverityLook Looks[] = {
    { 0xFFD32F2F, TMarkerKind::Error, "error", "errors" },
    { 0xFFE0A000, TMarkerKind::Warning, "warning", "warnings" },
    { 0xFF2F7FD3, TMarkerKind::Hint, "hint", "hints" },
};

const TSeverityLook& LookOf(ProblemSeverity severity)
{
    return Looks[static_cast<int>(severity)];
}

QString NameOf(ProblemSeverity severity)
{
    return QLatin1String(LookOf(severity).name);
}

// "2 errors, 1 warning, 5 hints", leaving out what there is none of.
QString CountText(const std::array<int, 3>& counts)
{
    QStringList parts;
    for (int kind = 0; kind < 3; ++kind) {
        if (counts[kind] > 0)
            parts << QStringLiteral("%L1 %2")
                         .arg(counts[kind])
                         .arg(counts[kind] == 1 ? Looks[kind].name : Looks[kind].plural);
    }
    return parts.isEmpty() ? QStringLiteral("No problems") : parts.join(QStringLiteral(", "));
}
} // namespace

TCheckInput TApplication::CheckInput() const
{
    TCheckInput input;
    input.text = Textarea->AreaText(0, -1, TextUnit::Chars);
    input.scriptPath = File;
    // A path of one character or none is no program, as for Run Tarvane.
    const QString game = wSettings ? wSettings->Values().gamePath : QString();
    if (game.size() > 1)
        input.gameFolder = QFileInfo(game).absolutePath();
    input.apiNames = Keywords;
    input.extraHooks = ExtraHooks;
    return input;
}

void TApplication::ShowProblems(const TCheckResult& result)
{
    problems = result.problems;
    syntaxError = result.syntaxError;
    linterNote = result.linterNote;
    std::vector<TIndicator> marks;
    std::vector<TLineMarker> markers;
    marks.reserve(problems.size());
    markers.reserve(problems.size());
    std::array<int, 3> counts {};
    for (const TProblem& problem : problems) {
        const TSeverityLook& look = LookOf(problem.severity);
        marks.push_back({ problem.start, problem.end, TIndicatorKind::Squiggle, look.colour, problem.message });
        markers.push_back({ problem.line, look.marker, problem.message });
        ++counts[static_cast<int>(problem.severity)];
    }
    // The same problems as before (typing that changed none) repaint nothing.
    TScriptArea* area = ScriptArea(Textarea);
    if (marks != area->Indicators(DecorationLayer::Diagnostics))
        area->SetIndicators(DecorationLayer::Diagnostics, std::move(marks));
    if (markers != area->LineMarkers(DecorationLayer::Diagnostics))
        area->SetLineMarkers(DecorationLayer::Diagnostics, std::move(markers));
    const QString count = CountText(counts);
    if (lProblems->GetText() != count)
        lProblems->SetText(count);
    wProblems->ShowSummary(problems.empty() ? QString() : count);
    if (!IsHidden(wProblems->Window, false))
        ShowProblemRows();
}

void TApplication::ShowProblemRows()
{
    std::vector<TProblemRow> rows;
    rows.reserve(problems.size());
    for (const TProblem& problem : problems)
        rows.push_back({ problem.line + 1, NameOf(problem.severity), problem.message });
    QStringList notes;
    if (syntaxError)
        notes << SyntaxNote;
    if (!linterNote.isEmpty())
        notes << linterNote;
    wProblems->ShowRows(std::move(rows), notes);
}

void TApplication::OpenProblems()
{
    ShowProblemRows();
    wProblems->Open();
    wProblems->lbProblems->Activate(ActivateCommand::Focus);
}

void TApplication::NextProblem(bool forward)
{
    if (problems.empty()) {
        ShowNotice(QStringLiteral("No problems found in the script."));
        return;
    }
    // The underlines moved with the edits since the check; the problems' own ranges are the fallback
    // once an edit took a whole underline away.
    const std::vector<TIndicator>& marks = ScriptArea(Textarea)->Indicators(DecorationLayer::Diagnostics);
    const bool moved = marks.size() == problems.size();
    const auto startOf = [&](std::size_t index) { return moved ? marks[index].start : problems[index].start; };
    const int caret = Textarea->GetCursorPos(TextUnit::Chars);
    const int count = static_cast<int>(problems.size());
    int index = forward ? 0 : count - 1;
    if (forward) {
        for (int at = 0; at < count; ++at) {
            if (startOf(at) > caret) {
                index = at;
                break;
            }
        }
    } else {
        for (int at = count - 1; at >= 0; --at) {
            if (startOf(at) < caret) {
                index = at;
                break;
            }
        }
    }
    GoToProblem(index);
}

void TApplication::GoToProblem(int index)
{
    if (index < 0 || index >= static_cast<int>(problems.size()))
        return;
    const TProblem& problem = problems[index];
    const std::vector<TIndicator>& marks = ScriptArea(Textarea)->Indicators(DecorationLayer::Diagnostics);
    const int length = Textarea->AreaLen(TextUnit::Chars);
    int start = std::clamp(problem.start, 0, length);
    int end = std::clamp(problem.end, start, length);
    if (marks.size() == problems.size()) {
        start = marks[index].start;
        end = marks[index].end;
    }
    Textarea->SetSelection(start, end - start, TextUnit::Chars);
    Textarea->Activate(ActivateCommand::Focus);
    ShowNotice(QStringLiteral("Line %1, %2: %3")
                   .arg(Textarea->LineAt(start) + 1)
                   .arg(NameOf(problem.severity), problem.message));
    if (!IsHidden(wProblems->Window, false))
        wProblems->lbProblems->SelectItem(index, 1);
}
