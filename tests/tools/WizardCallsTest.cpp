// Reading the wizards' calls back from a script: the fields, the call's range, and the calls refused.
#include "tools/WizardCalls.h"

#include "support/QStringPrinter.h"

#include <QStringList>

#include <gtest/gtest.h>

using TFields = std::variant<THookCallFields, TTimerCallFields, THudtxtCallFields>;

namespace {
// The fields side by side, so that a failure shows all of them.
QString Shown(const TFields& fields)
{
    QStringList shown;
    if (const auto* hook = std::get_if<THookCallFields>(&fields))
        shown = { "hook", hook->hook, hook->handler };
    else if (const auto* timer = std::get_if<TTimerCallFields>(&fields))
        shown = { "timer", timer->period, timer->function, timer->argument, timer->count };
    else if (const auto* hud = std::get_if<THudtxtCallFields>(&fields))
        shown = { hud->second ? "hudtxt2" : "hudtxt", hud->variable, QString::number(hud->id), hud->text, hud->x,
            hud->y, QString::number(int(hud->align)) };
    return shown.join(u'|');
}

using Align = THudtxtCallFields::Align;

// A script with the caret marked by "|", and the call read around it.
struct TReadCase {
    QString script;
    TFields fields;
    QString call; // the text of the call's range
};

std::pair<QString, int> Caret(QString script)
{
    const int caret = int(script.indexOf(u'|'));
    script.remove(caret, 1);
    return { script, caret };
}

TEST(WizardCallsTest, CallsTheWizardsWriteReadBackIntoTheirFields)
{
    const THudtxtCallFields example { false, {}, 3, "Example", "100", "200", Align::Left };
    THudtxtCallFields second = example;
    second.second = true;
    second.variable = "id";
    second.align = Align::Center;
    THudtxtCallFields right = example;
    right.align = Align::Right;
    const TReadCase cases[] = {
        { "|addhook(\"hit\", \"onHit\")", THookCallFields { "hit", "onHit" }, "addhook(\"hit\", \"onHit\")" },
        // The handler's head the wizard writes after the registration is no part of the call.
        { "\taddhook(\"join\", \"zm.onjoin\")|\n\tfunction zm.onjoin(id)", THookCallFields { "join", "zm.onjoin" },
            "addhook(\"join\", \"zm.onjoin\")" },
        { "timer(5000, \"myfunc\", myvar .. \"my|string\", 1)",
            TTimerCallFields { "5000", "myfunc", "myvar .. \"mystring\"", "1" },
            "timer(5000, \"myfunc\", myvar .. \"mystring\", 1)" },
        { "x = 1 tim|er(1500.5, \"f(\", { a = \")\" }, 0) y = 2",
            TTimerCallFields { "1500.5", "f(", "{ a = \")\" }", "0" }, "timer(1500.5, \"f(\", { a = \")\" }, 0)" },
        // Left out, the argument and the count are the game's: an empty text, once.
        { "timer(100, 'tick'|)", TTimerCallFields { "100", "tick", "\"\"", "1" }, "timer(100, 'tick')" },
        { "parse(\"hudtxt 3 \\\"Example\\\" 100 200 0\")|", example, "parse(\"hudtxt 3 \\\"Example\\\" 100 200 0\")" },
        { "parse(\"hudtxt 3 \\\"Example\\\" 100 200 -1\"|)", right, "parse(\"hudtxt 3 \\\"Example\\\" 100 200 -1\")" },
        { "|parse(\"hudtxt2 \" .. id .. \" 3 \\\"Example\\\" 100 200 1\")", second,
            "parse(\"hudtxt2 \" .. id .. \" 3 \\\"Example\\\" 100 200 1\")" },
        // The form community scripts use: single quotes, no blanks around .., no alignment.
        { "parse(' hudtxt2 '..id..' 45 \"\\169255000000Hi\" 2 -2|55')",
            THudtxtCallFields { true, "id", 45, "\\169255000000Hi", "2", "-255", Align::Left },
            "parse(' hudtxt2 '..id..' 45 \"\\169255000000Hi\" 2 -255')" },
        // Comments, long strings and brackets in strings do not count; the innermost call holds the caret.
        { "timer(1, \"a\", parse(\"hudtxt 0 \\\"()\\\" 0 0 0\" --[[ ) ]]|), 2)",
            THudtxtCallFields { false, {}, 0, "()", "0", "0", Align::Left },
            "parse(\"hudtxt 0 \\\"()\\\" 0 0 0\" --[[ ) ]])" },
        { "timer(1, \"a\", [[)]] .. parse(\"sv_msg hi\"|), 2)",
            TTimerCallFields { "1", "a", "[[)]] .. parse(\"sv_msg hi\")", "2" },
            "timer(1, \"a\", [[)]] .. parse(\"sv_msg hi\"), 2)" },
    };
    for (const TReadCase& c : cases) {
        SCOPED_TRACE(c.script.toStdString());
        const auto [script, caret] = Caret(c.script);
        const std::optional<TWizardCall> call = ReadWizardCall(script, caret);
        ASSERT_TRUE(call.has_value());
        EXPECT_EQ(call->refusal, QString());
        EXPECT_EQ(Shown(call->fields), Shown(c.fields));
        EXPECT_EQ(script.mid(call->start, call->end - call->start), c.call);
    }
}

TEST(WizardCallsTest, NoCallAroundTheCaretIsNothing)
{
    const QString cases[] = {
        "|  addhook(\"hit\", \"onHit\")", "addhook(\"hit\", \"onHit\") |", "-- timer(1, \"f|\", 2, 3)",
        "s = \"timer(1, |'f')\"", "obj.timer(1, \"f\"|)", "function timer(ms|, f) end", "parse(\"sv_msg hi|\")",
        "timer(1, \"f\"|", // not closed
    };
    for (const QString& c : cases) {
        SCOPED_TRACE(c.toStdString());
        const auto [script, caret] = Caret(c);
        EXPECT_FALSE(ReadWizardCall(script, caret).has_value());
    }
}

TEST(WizardCallsTest, CallsThatDoNotFitTheWizardSayWhy)
{
    const std::pair<QString, QString> cases[] = {
        { "timer(delay * 2, \"f\", 0, 1)", "The period is an expression (delay * 2), not a number." },
        { "timer(100, f, 0, 1)", "The function is an expression (f), not a name in quotes." },
        { "timer(100, \"f\", 0, n)", "The call count is an expression (n), not a whole number." },
        { "timer(100, \"f\", 0, 1, 2)", "timer has 5 arguments here; the wizard writes four." },
        { "addhook(\"hit\", handlers[1])", "The handler is an expression (handlers[1]), not a name in quotes." },
        { "addhook(\"hti\", \"f\")", "\"hti\" is not one of the game's hooks." },
        { "addhook(\"hit\", \"f\", 5)",
            "addhook has 3 arguments here; the wizard writes two, the hook and its handler." },
        { "parse(\"hudtxt 1 \\\"a\\\" \" .. px .. \" 10 0\")", "The X position is an expression (px), not a number." },
        { "parse(\"hudtxt 50 \\\"a\\\" 1 2 0\")", "The id 50 is not one the wizard writes." },
        { "parse(\"hudtxt 1 \\\"a\\\" 1 2 2\")", "The alignment 2 is not one the wizard writes." },
        { "parse(\"hudtxt 1 \\\"a\\\" 1\")", "The command ends before its Y position." },
        { "parse(\"hudtxt 1 \\\"a\\\" 1 2 0 1 20\")", "The command goes on past its alignment (1)." },
        { "parse(\"hudtxt 1 \" .. msg .. \" 1 2 0\")", "The text is an expression (msg), not a text in quotes." },
    };
    for (const auto& [script, reason] : cases) {
        SCOPED_TRACE(script.toStdString());
        const std::optional<TWizardCall> call = ReadWizardCall(script, 3);
        ASSERT_TRUE(call.has_value());
        EXPECT_EQ(call->refusal, reason);
        EXPECT_EQ(call->end, script.size());
    }
}
} // namespace
