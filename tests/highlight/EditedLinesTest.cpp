// The lines that offered edits touched, as the loop re-colours them after several edits in a row.
#include "highlight/EditedLines.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

void PrintTo(const TLineRange& range, std::ostream* out)
{
    *out << "[" << range.first << ", " << range.last << "]";
}

namespace {
TEST(EditedLinesTest, EarlierRangesFollowTheLineBreaksOfLaterEdits)
{
    struct Edit {
        int line, breaksRemoved, breaksInserted;
    };
    struct Case {
        const char* name;
        std::vector<Edit> edits;
        std::vector<TLineRange> lines;
    };
    const Case cases[] = {
        { "one insertion of three lines", { { 2, 0, 3 } }, { { 2, 5 } } },
        { "an edit further on moves nothing before it", { { 2, 0, 1 }, { 10, 0, 0 } }, { { 2, 3 }, { 10, 10 } } },
        { "lines inserted above move a range down", { { 5, 0, 0 }, { 1, 0, 2 } }, { { 7, 7 }, { 1, 3 } } },
        { "lines removed above move a range up", { { 8, 0, 1 }, { 2, 1, 0 } }, { { 7, 8 }, { 2, 2 } } },
        { "a removal joins the ranges it spans", { { 3, 0, 0 }, { 6, 0, 0 }, { 2, 5, 0 } }, { { 2, 2 } } },
        { "an edit next to a range merges with it", { { 4, 0, 0 }, { 5, 0, 1 } }, { { 4, 6 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TEditedLines edited;
        for (const Edit& edit : c.edits)
            edited.Edit(edit.line, edit.breaksRemoved, edit.breaksInserted);
        EXPECT_EQ(edited.Take(), c.lines);
        EXPECT_TRUE(edited.Take().empty());
    }
}
} // namespace
