// Where completion stands at a caret, what the script's names give, kept line by line, and the order of
// the candidates.
#include "highlight/Completion.h"

#include <gtest/gtest.h>

namespace {
using Where = TCompletionPlace::Where;

TEST(CompletionTest, ThePlaceAtTheCaretByTheLineAlone)
{
    struct Case {
        const char* line; // "|" marks the caret
        Where where;
        const char* prefix;
        const char* table;
    };
    const Case cases[] = {
        { "pri|", Where::Name, "pri", "" },
        { "x = |", Where::Name, "", "" },
        { "addhook(\"jo|", Where::HookName, "jo", "" },
        { "addhook( '|", Where::HookName, "", "" },
        { "addhook(\"join\", \"on|", Where::Nowhere, "", "" }, // the handler's string takes no hook name
        { "msg(\"pri|", Where::Nowhere, "", "" },
        { "x = 1 -- pri|", Where::Nowhere, "", "" },
        { "s = \"a -- b\" .. pri|", Where::Name, "pri", "" },
        { "string.fi|", Where::Member, "fi", "string" },
        { "zm.sub:me|", Where::Member, "me", "zm.sub" },
        { "x = \"a\"..ab|", Where::Name, "ab", "" }, // ".." joins, it is no member
        { "x = 12|", Where::Nowhere, "", "" },
        { "obj.addhook(\"jo|", Where::Nowhere, "", "" },
        { "x = [[ pri|", Where::Nowhere, "", "" },
    };
    for (const Case& c : cases) {
        QString line = QString::fromUtf8(c.line);
        const int caret = static_cast<int>(line.indexOf(u'|'));
        line.remove(caret, 1);
        SCOPED_TRACE(c.line);
        const TCompletionPlace place = CompletionPlaceAt(line, caret);
        EXPECT_EQ(place.where, c.where);
        if (c.where != Where::Nowhere) {
            EXPECT_EQ(place.prefix, QString::fromUtf8(c.prefix));
            EXPECT_EQ(place.start, caret - place.prefix.size());
            EXPECT_EQ(place.table, QString::fromUtf8(c.table));
        }
    }
}

// Prefixes in either case come before the letters in order; among equals the script's own names first.
TEST(CompletionTest, CandidatesRankByMatchThenTheScriptsOwnThenName)
{
    const std::vector<TCompletionItem> items { { "player", CompletionKind::Keyword, "", false },
        { "playerData", CompletionKind::Global, "", true }, { "Players", CompletionKind::Global, "", true },
        { "parseAll", CompletionKind::Function, "", true }, { "pl", CompletionKind::Local, "", true },
        { "image", CompletionKind::Keyword, "", false } };
    std::vector<QString> got;
    for (const TCompletionItem& item : FilterCompletions(items, u"pl"))
        got.push_back(item.text);
    EXPECT_EQ(got, (std::vector<QString> { "playerData", "Players", "player", "parseAll" }));
    EXPECT_EQ(FilterCompletions(items, u"pla", 1).size(), 1u);
}

// Definitions of every form, kept as lines are replaced: a name defined on two lines stays while one is left.
TEST(CompletionTest, TheScriptsNamesFollowItsLines)
{
    TScriptNames names;
    names.Reset(u"zm = { speed = 5, name = \"z\" }\n"
                u"function zm.onhit(id, src)\n"
                u"local count, total = 0\n"
                u"addhook(\"hit\", \"zm.onhit\")\n"
                u"zm.level = 2\n"
                u"local function helper(a) end\n"
                u"handler = function(p) end\n"
                u"if x == 1 then end -- late = 1");
    const auto texts = [](const std::vector<TCompletionItem>& items) {
        QStringList out;
        for (const TCompletionItem& item : items)
            out << item.text + QLatin1Char(':') + CompletionKindName(item.kind);
        out.sort();
        return out;
    };
    EXPECT_EQ(texts(names.Names({})),
        QStringList({ "a:local", "count:local", "handler:function", "helper:function", "id:local", "p:local",
            "src:local", "total:local", "zm:global" }));
    EXPECT_EQ(texts(names.Names(u"zm")), QStringList({ "level:field", "name:field", "onhit:function", "speed:field" }));
    EXPECT_EQ(names.HookOf(u"zm.onhit"), "hit");

    const std::vector<QStringView> replacement { u"zm.level = 3", u"function count() end" };
    names.Replace(3, 2, replacement); // the addhook line and "zm.level = 2" go
    EXPECT_EQ(names.HookOf(u"zm.onhit"), "");
    EXPECT_EQ(names.Lines(), 8);
    EXPECT_TRUE(texts(names.Names({})).contains("count:function"));
    EXPECT_TRUE(texts(names.Names(u"zm")).contains("level:field"));
    names.Replace(4, 1, {});
    EXPECT_TRUE(texts(names.Names({})).contains("count:local")) << "the local is still defined on its line";
}
} // namespace
