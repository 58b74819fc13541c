// The live check inside the whole editor: results for an old text are dropped, the problems are shown
// and gone through with F8, and the wizards say when what they would insert does not compile.
#include "AppFixture.h"

#include "app/LiveCheck.h"
#include "gui/ScriptArea.h"
#include "tools/WHook.h"
#include "tools/WHudtxt.h"
#include "tools/WProblems.h"
#include "tools/WTimer.h"

#include <QRegularExpression>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
using namespace std::chrono_literals;

// Holds each check until the test lets it go, and counts the checks begun.
struct TGate {
    std::mutex mutex;
    std::condition_variable changed;
    int entered = 0;
    int released = 0;
    bool sawCancel = false;

    void Release(int count)
    {
        std::lock_guard lock(mutex);
        released = count;
        changed.notify_all();
    }
};

// Whatever happens in a test, no check is left waiting when the editor ends.
std::shared_ptr<void> ReleaseAllAtEnd(const std::shared_ptr<TGate>& gate)
{
    return std::shared_ptr<void>(nullptr, [gate](void*) { gate->Release(1 << 20); });
}

class LiveCheckTest : public AppFixture {
protected:
    void UseChecker(TLiveCheck::TChecker checker)
    {
        App->LiveCheck = std::make_unique<TLiveCheck>(std::move(checker));
        App->LiveCheck->delay = 0ms;
    }
    // Runs the loop until the check has come back and been shown, or a generous deadline passed.
    void SettleCheck()
    {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < deadline) {
            ProcessPlatformInput();
            const bool busy = App->RunPass();
            if (!busy && App->LiveCheck->Idle())
                return;
            if (!busy)
                std::this_thread::sleep_for(1ms);
        }
        ADD_FAILURE() << "the check did not settle";
    }
    void PassUntil(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            ProcessPlatformInput();
            App->RunPass();
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_TRUE(done());
    }
    const std::vector<TIndicator>& Underlines() const
    {
        return ScriptArea(Text())->Indicators(DecorationLayer::Diagnostics);
    }
    QString StatusNotice() const { return App->lRecovery->GetText(); }
};

// Every "boom" an error, "oops" a warning and "hmm" a hint.
TCheckResult WordChecker(const TCheckInput& input, const std::atomic<bool>*)
{
    TCheckResult result;
    static const QRegularExpression words(QStringLiteral("boom|oops|hmm"));
    for (const QRegularExpressionMatch& match : words.globalMatch(input.text)) {
        const QString word = match.captured();
        TProblem problem;
        problem.start = int(match.capturedStart());
        problem.end = int(match.capturedEnd());
        problem.line = int(input.text.left(problem.start).count(u'\n'));
        problem.severity = word == "boom" ? ProblemSeverity::Error
            : word == "oops"              ? ProblemSeverity::Warning
                                          : ProblemSeverity::Hint;
        problem.message = QStringLiteral("found %1").arg(word);
        result.problems.push_back(problem);
    }
    return result;
}

TEST_F(LiveCheckTest, AResultForAnOlderTextIsDropped)
{
    auto gate = std::make_shared<TGate>();
    const std::shared_ptr<void> releaseAll = ReleaseAllAtEnd(gate);
    UseChecker([gate](const TCheckInput& input, const std::atomic<bool>* cancel, const TScriptChecker::TEarlyResult&) {
        std::unique_lock lock(gate->mutex);
        const int number = ++gate->entered;
        gate->changed.notify_all();
        gate->changed.wait(lock, [&] { return gate->released >= number; });
        // The check ends whole though it was asked to stop, as one finishing just then does.
        gate->sawCancel = gate->sawCancel || cancel->load();
        TCheckResult result;
        result.problems.push_back({ 0, 1, 0, 0, ProblemSeverity::Warning, "checked " + input.text });
        return result;
    });
    const auto entered = [gate](int count) {
        return [gate, count] {
            std::lock_guard lock(gate->mutex);
            return gate->entered >= count;
        };
    };
    Type("old");
    PassUntil(entered(1));
    Type(" new");
    gate->Release(1);
    // The check of the new text begins only once the old one's result is in.
    PassUntil(entered(2));
    for (int pass = 0; pass < 5; ++pass)
        App->RunPass();
    EXPECT_TRUE(App->Problems().empty());
    EXPECT_TRUE(Underlines().empty());
    {
        std::lock_guard lock(gate->mutex);
        EXPECT_TRUE(gate->sawCancel) << "the old check was not asked to stop";
    }
    gate->Release(2);
    SettleCheck();
    ASSERT_EQ(App->Problems().size(), 1u);
    EXPECT_EQ(App->Problems()[0].message, "checked old new");
}

TEST_F(LiveCheckTest, AFirstResultHandedOverBeforeTheWholeOneIsShownUntilItComes)
{
    auto gate = std::make_shared<TGate>();
    const std::shared_ptr<void> releaseAll = ReleaseAllAtEnd(gate);
    // The first result leaves out the hints, as one before the linter's does; the whole one waits for the
    // test.
    UseChecker([gate](const TCheckInput& input, const std::atomic<bool>*, const TScriptChecker::TEarlyResult& early) {
        TCheckResult result = WordChecker(input, nullptr);
        TCheckResult first = result;
        std::erase_if(first.problems, [](const TProblem& p) { return p.severity == ProblemSeverity::Hint; });
        early(first);
        std::unique_lock lock(gate->mutex);
        gate->changed.wait(lock, [&] { return gate->released > 0; });
        return result;
    });
    SetScript("oops hmm");
    PassUntil([this] { return App->Problems().size() == 1; });
    EXPECT_EQ(App->lProblems->GetText(), "1 warning");
    gate->Release(1);
    SettleCheck();
    EXPECT_EQ(App->lProblems->GetText(), "1 warning, 1 hint");
}

TEST_F(LiveCheckTest, TheCountAndF8LeadFromProblemToProblemRoundTheScript)
{
    UseChecker([](const TCheckInput& input, const std::atomic<bool>* cancel, const TScriptChecker::TEarlyResult&) {
        return WordChecker(input, cancel);
    });
    EXPECT_EQ(App->lProblems->GetText(), "No problems");
    Key(Qt::Key_F8);
    EXPECT_EQ(StatusNotice(), "No problems found in the script.");

    SetScript("a oops\nboom b\n\tc hmm oops");
    // The program's change is checked as typing is.
    SettleCheck();
    EXPECT_EQ(App->lProblems->GetText(), "1 error, 2 warnings, 1 hint");
    ASSERT_EQ(Underlines().size(), 4u);
    EXPECT_EQ(Underlines()[1], (TIndicator { 7, 11, TIndicatorKind::Squiggle, 0xFFD32F2F, "found boom" }));
    EXPECT_EQ(ScriptArea(Text())->LineMarkers(DecorationLayer::Diagnostics)[3],
        (TLineMarker { 2, TMarkerKind::Warning, "found oops" }));

    struct TStep {
        std::function<void()> action;
        QString selected;
        TSelection selection;
        QString notice;
    };
    const TStep steps[] = {
        { Press(Qt::Key_F8), "oops", { 2, 4 }, "Line 1, warning: found oops" },
        { Press(Qt::Key_F8), "boom", { 7, 4 }, "Line 2, error: found boom" },
        { [this] { Send(Event::GadgetAction, App->lProblems); }, "hmm", { 17, 3 }, "Line 3, hint: found hmm" },
        { Press(Qt::Key_F8), "oops", { 21, 4 }, "Line 3, warning: found oops" },
        { Press(Qt::Key_F8), "oops", { 2, 4 }, "Line 1, warning: found oops" },
        { Press(Qt::Key_F8, Qt::ShiftModifier), "oops", { 21, 4 }, "Line 3, warning: found oops" },
        { Press(Qt::Key_F8, Qt::ShiftModifier), "hmm", { 17, 3 }, "Line 3, hint: found hmm" },
    };
    for (const TStep& step : steps) {
        step.action();
        EXPECT_EQ(Selected(), step.selected);
        EXPECT_EQ(Selection(), step.selection);
        EXPECT_EQ(StatusNotice(), step.notice);
    }

    // The underlines move with an edit made before the check comes back; F8 follows them.
    Select(0);
    Type("xx");
    Select(0);
    Key(Qt::Key_F8);
    EXPECT_EQ(Selected(), "oops");
    SettleCheck();
    SetScript("fine");
    SettleCheck();
    EXPECT_EQ(App->lProblems->GetText(), "No problems");
    EXPECT_TRUE(Underlines().empty());
}

TEST_F(LiveCheckTest, ASyntaxErrorIsUnderlinedAndListedWithTheNoteThatLaterOnesAreUnknown)
{
    App->LiveCheck->delay = 0ms;
    SetScript("x = 1\ny = = 2\n");
    SettleCheck();
    ASSERT_EQ(App->Problems().size(), 1u);
    const TProblem& problem = App->Problems()[0];
    EXPECT_EQ(problem.severity, ProblemSeverity::Error);
    EXPECT_EQ(problem.message, "unexpected symbol near '='");
    ASSERT_EQ(Underlines().size(), 1u);
    EXPECT_EQ(Underlines()[0].tooltip, problem.message);
    // The token Lua stopped at: the second "=".
    EXPECT_EQ(Underlines()[0].start, 10);
    EXPECT_EQ(Underlines()[0].end, 11);
    EXPECT_EQ(App->lProblems->GetText(), "1 error");

    Menu(TApplication::M_PROBLEMS);
    TWProblems& list = *App->wProblems;
    ASSERT_FALSE(IsHidden(list.Window, false));
    ASSERT_EQ(list.lbProblems->RowCount(), 1);
    EXPECT_EQ(list.lbProblems->RowText(0), "Line 2  error: unexpected symbol near '='");
    EXPECT_TRUE(list.lNotes->GetText().startsWith("Only the first syntax error is known"))
        << list.lNotes->GetText().toStdString();
    // A double click (or Enter) on the row goes there.
    Select(0);
    Send(Event::GadgetAction, list.lbProblems, 0);
    EXPECT_EQ(Selection(), (TSelection { 10, 1 }));

    // The list follows the check while it is open.
    Select(8);
    Key(Qt::Key_Delete);
    SettleCheck();
    EXPECT_EQ(list.lbProblems->RowCount(), 0);
    EXPECT_EQ(App->lProblems->GetText(), "No problems");
    EXPECT_FALSE(list.lNotes->GetText().startsWith("Only the first")) << list.lNotes->GetText().toStdString();
}

TEST_F(LiveCheckTest, TheWizardsSayWhenTheCodeTheyWouldInsertDoesNotCompile)
{
    TWTimer& timer = *App->wTimer;
    TWHook& hook = *App->wHook;
    TWHudtxt& hud = *App->wHudtxt;
    // Fields set as typed: the wizard hears the field's action.
    const auto field = [this](TGadget* gadget, const QString& text) {
        gadget->SetText(text);
        Send(Event::GadgetAction, gadget);
    };
    struct TCase {
        const char* name;
        std::function<void()> fill;
        TGadget* label;
        QString message;
    };
    const TCase cases[] = {
        { "an empty timer argument",
            [&] {
                field(timer.tfMs, "1500");
                field(timer.tfFunc, "f");
                field(timer.tfParam, "");
            },
            timer.lCheck, "Will not compile: unexpected symbol near ','" },
        { "a timer that compiles", [&] { field(timer.tfParam, "id"); }, timer.lCheck, "" },
        { "a handler named with a blank",
            [&] {
                hook.subPlayer->kids[0]->Activate(ActivateCommand::Select);
                hook.cbGenFunc->SetSelected(1);
                Send(Event::GadgetAction, hook.cbGenFunc, 1);
                field(hook.tfVariable, "on Hit");
            },
            hook.lCheck, "Will not compile: '(' expected near 'Hit'" },
        { "the same registration without its handler",
            [&] {
                hook.cbGenFunc->SetSelected(0);
                Send(Event::GadgetAction, hook.cbGenFunc, 0);
            },
            hook.lCheck, "" },
        { "hudtxt2 with an empty variable",
            [&] {
                hud.cbType->SelectItem(1, 1);
                Send(Event::GadgetAction, hud.cbType, 1);
                field(hud.tfVar, "");
            },
            hud.lCheck, "Will not compile: unexpected symbol near '..'" },
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.name);
        test.fill();
        EXPECT_EQ(test.label->GetText(), test.message);
    }
    // What the user asked for still goes in.
    field(timer.tfParam, "");
    Menu(TApplication::M_TIME);
    Send(Event::GadgetAction, timer.bCreate);
    EXPECT_EQ(Script(), "timer(1500, \"f\", , 1)");
}
} // namespace
