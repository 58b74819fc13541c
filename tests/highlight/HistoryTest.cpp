// Tests of the undo history: edits recorded the way the editing keys record them, then undone.
#include "highlight/History.h"
#include "FakeTextArea.h"
#include "highlight/Indent.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <utility>

namespace {

QString Q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

constexpr TextUnit Chars = TextUnit::Chars;
constexpr TextUnit Lines = TextUnit::Lines;

// The editing keys and commands, each recording its undo action before it changes the text, with
// the values the key filter and the edit commands record.
class TEditor {
public:
    TEditor(TFakeTextArea& area, THistory& history)
        : area(area)
        , history(history)
    {
    }

    int Cursor() const { return area.GetCursorPos(Chars); }
    int SelLength() const { return area.GetSelectionLength(Chars); }
    QString Selected() const { return area.AreaText(Cursor(), SelLength(), Chars); }

    void Type(QChar c)
    {
        const int cursor = Cursor();
        history.AddAction(area, cursor, 1, Selected(), cursor, SelLength(), EditKind::Typing);
        area.ReplaceText(cursor, SelLength(), QString(c), Chars);
        area.SetSelection(cursor + 1, 0, Chars);
    }

    void Delete()
    {
        const int cursor = Cursor();
        if (SelLength() > 0) {
            RemoveSelection();
            return;
        }
        history.AddAction(area, cursor, 0, area.AreaText(cursor, 1, Chars), cursor, 0, EditKind::Delete);
        area.ReplaceText(cursor, 1, {}, Chars);
        area.SetSelection(cursor, 0, Chars);
    }

    void Backspace()
    {
        const int cursor = Cursor();
        if (SelLength() > 0) {
            RemoveSelection();
            return;
        }
        history.AddAction(area, cursor - 1, 0, area.AreaText(cursor - 1, 1, Chars), cursor, 0, EditKind::Backspace);
        if (cursor > 0) {
            area.ReplaceText(cursor - 1, 1, {}, Chars);
            area.SetSelection(cursor - 1, 0, Chars);
        }
    }

    // Cut records exactly what Delete and Backspace over a selection record.
    void RemoveSelection()
    {
        const int cursor = Cursor();
        history.AddAction(area, cursor, 0, Selected(), cursor, SelLength());
        area.ReplaceText(cursor, SelLength(), {}, Chars);
        area.SetSelection(cursor, 0, Chars);
    }

    void EnterWithAutoIndent()
    {
        const QString line = area.AreaText(area.GetCursorPos(Lines), 1, Lines);
        const QString indent = QStringLiteral("\n") + LeadingTabs(line);
        const int cursor = Cursor();
        history.AddAction(area, cursor, static_cast<int>(indent.size()), Selected(), cursor, SelLength());
        area.ReplaceText(cursor, SelLength(), indent, Chars);
        area.SetSelection(cursor + static_cast<int>(indent.size()), 0, Chars);
    }

    // Tab over two or more selected characters: one action per line, before its tab goes in.
    void TabIndent()
    {
        const int first = area.GetCursorPos(Lines);
        const int count = area.GetSelectionLength(Lines);
        for (int line = first; line < first + count; ++line) {
            const int start = area.CharAt(line);
            history.AddAction(area, start, 1, {}, start, 0);
            area.ReplaceText(line, 1, "\t" + area.AreaText(line, 1, Lines), Lines);
        }
        area.SetSelection(first, count, Lines);
    }

    // The clipboard holds CR LF line breaks, which the text area stores as one character each.
    void Paste(const QString& clipboard)
    {
        const int inserted = static_cast<int>(clipboard.size() - clipboard.count(u'\n'));
        const int cursor = Cursor();
        history.AddAction(area, cursor, inserted, Selected(), cursor, SelLength());
        area.ReplaceText(cursor, SelLength(), clipboard, Chars);
        area.SetSelection(cursor + inserted, 0, Chars);
    }

private:
    TFakeTextArea& area;
    THistory& history;
};

struct TUndoSetup {
    explicit TUndoSetup(const QString& text)
        : area(text)
        , history([this](int line) { recoloured.push_back(line); })
        , editor(area, history)
    {
    }

    TFakeTextArea area;
    std::vector<int> recoloured;
    THistory history;
    TEditor editor;
};

} // namespace

TEST(HistoryTest, TypingOverASelectionUndoesToTheSelectedText)
{
    TUndoSetup s(Q(u"a xyz b"));
    s.area.SetSelection(2, 3, Chars);
    s.editor.Type(u'a');
    ASSERT_EQ(s.history.Count(), 1);
    EXPECT_EQ(s.history.Last()->Pos, 2);
    EXPECT_EQ(s.history.Last()->Sel, 1);
    EXPECT_EQ(s.history.Last()->Text, "xyz");
    EXPECT_EQ(s.history.Last()->SelLen, 3);
    s.editor.Type(u'b');
    EXPECT_EQ(s.area.Text(), "a ab b");

    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "a a b");
    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "a xyz b");
    EXPECT_EQ(s.area.SelStart(), 2);
    EXPECT_EQ(s.area.SelEnd(), 5);
    EXPECT_EQ(s.history.Count(), 0);

    // An empty history does nothing at all.
    s.recoloured.clear();
    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "a xyz b");
    EXPECT_EQ(s.area.SelEnd(), 5);
    EXPECT_TRUE(s.recoloured.empty());
}

TEST(HistoryTest, DeleteAtTheEndUndoesOnlyTheCaret)
{
    TUndoSetup s(Q(u"ab\ncd"));
    s.area.SetSelection(5, 0, Chars);
    s.editor.Delete();
    ASSERT_EQ(s.history.Count(), 1);
    EXPECT_EQ(s.history.Last()->Pos, 5);
    EXPECT_EQ(s.history.Last()->Text, "");
    s.area.SetSelection(1, 2, Chars);
    const int changes = s.area.textChanges;
    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "ab\ncd");
    EXPECT_EQ(s.area.textChanges, changes);
    EXPECT_EQ(s.area.SelStart(), 5);
    EXPECT_EQ(s.area.SelEnd(), 5);
}

TEST(HistoryTest, BackspaceAtTheStartUndoesOnlyTheCaret)
{
    for (const QString& start : { QString(), QStringLiteral("xy") }) {
        TUndoSetup s(start);
        s.editor.Backspace();
        ASSERT_EQ(s.history.Count(), 1);
        EXPECT_EQ(s.history.Last()->Pos, -1);
        EXPECT_EQ(s.history.Last()->SelPos, 0);
        // Even if the text area had read a character for position -1, undo must not put it back.
        s.history.AddAction(s.area, -1, 0, QStringLiteral("x"), 0, 0);
        s.area.SetSelection(1, 1, Chars);
        const int changes = s.area.textChanges;
        s.history.Undo(s.area);
        s.history.Undo(s.area);
        EXPECT_EQ(s.area.Text(), start);
        EXPECT_EQ(s.area.textChanges, changes);
        EXPECT_EQ(s.area.SelStart(), 0);
        EXPECT_EQ(s.area.SelEnd(), 0);
    }
}

TEST(HistoryTest, EnterWithAutoIndentIsOneStep)
{
    TUndoSetup s(Q(u"\t\tif x then"));
    s.area.SetSelection(11, 0, Chars);
    s.editor.EnterWithAutoIndent();
    EXPECT_EQ(s.area.Text(), "\t\tif x then\n\t\t");
    ASSERT_EQ(s.history.Count(), 1);
    EXPECT_EQ(s.history.Last()->Sel, 3);
    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "\t\tif x then");
    EXPECT_EQ(s.area.SelStart(), 11);

    // Over a selection the selection comes back.
    s.area.SetSelection(2, 2, Chars);
    s.editor.EnterWithAutoIndent();
    EXPECT_EQ(s.area.Text(), "\t\t\n\t\t x then");
    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "\t\tif x then");
    EXPECT_EQ(s.area.SelStart(), 2);
    EXPECT_EQ(s.area.SelEnd(), 4);
}

TEST(HistoryTest, PasteOfCrLfLinesUndoesAndRecoloursTheRestoredLines)
{
    TUndoSetup s(Q(u"x = 1\n-- old\ny = 2"));
    s.area.SetSelection(6, 6, Chars); // "-- old" and nothing of its line break
    s.editor.Paste(Q(u"a\r\nb\r\nc"));
    EXPECT_EQ(s.area.Text(), "x = 1\na\nb\nc\ny = 2");
    ASSERT_EQ(s.history.Count(), 1);
    EXPECT_EQ(s.history.Last()->Sel, 5);

    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "x = 1\n-- old\ny = 2");
    EXPECT_EQ(s.area.SelStart(), 6);
    EXPECT_EQ(s.area.SelEnd(), 12);
    EXPECT_EQ(s.recoloured, (std::vector<int> { 1 }));

    // Restoring text over several lines re-colours each of them, first to last.
    s.recoloured.clear();
    s.area.SetSelection(0, -1, Chars);
    s.editor.RemoveSelection();
    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "x = 1\n-- old\ny = 2");
    EXPECT_EQ(s.recoloured, (std::vector<int> { 0, 1, 2 }));
}

TEST(HistoryTest, TabIndentTakesOneUndoPerLineLastFirst)
{
    TUndoSetup s(Q(u"a\nb\nc\nd"));
    s.area.SetSelection(0, 5, Chars); // a, b and part of c
    s.editor.TabIndent();
    EXPECT_EQ(s.area.Text(), "\ta\n\tb\n\tc\nd");
    ASSERT_EQ(s.history.Count(), 3);
    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "\ta\n\tb\nc\nd");
    EXPECT_EQ(s.area.SelStart(), 6);
    s.history.Undo(s.area);
    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "a\nb\nc\nd");

    s.editor.Type(u'z');
    s.history.Clear();
    EXPECT_EQ(s.history.Count(), 0);
    s.history.Undo(s.area);
    EXPECT_EQ(s.area.Text(), "za\nb\nc\nd");
}

// Random edits, each undone in reverse order: every step brings back the text (and, where the edit
// recorded the selection, the selection) from just before that edit.
TEST(HistoryTest, UndoingEveryRandomEditRestoresEachEarlierState)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        TUndoSetup s(Q(u"\tfunction f()\n\t\treturn 1\n\tend\n\nprint(\"x\")"));
        struct TState {
            QString text;
            int selStart = 0, selEnd = 0;
            bool selectionRestored = true;
        };
        std::vector<TState> before;
        auto random = [&](int limit) { return std::uniform_int_distribution<int>(0, limit)(rng); };

        for (int step = 0; step < 80; ++step) {
            const int length = s.area.AreaLen(Chars);
            const int pos = random(length);
            s.area.SetSelection(pos, random(3) == 0 ? random(length - pos) : 0, Chars);
            const int firstCount = s.history.Count();
            const TState state { s.area.Text(), s.area.SelStart(), s.area.SelEnd() };
            const int kind = random(7);
            switch (kind) {
            case 0:
                s.editor.Type(QChar(u"ab =(x\u00E9"[random(6)]));
                break;
            case 1:
                s.editor.Delete();
                break;
            case 2:
                s.editor.Backspace();
                break;
            case 3:
                s.editor.EnterWithAutoIndent();
                break;
            case 4:
                s.editor.Paste(random(1) ? Q(u"x\r\n\ty\r\n") : Q(u"q"));
                break;
            case 5:
                s.editor.RemoveSelection();
                break;
            case 6:
                if (s.area.GetSelectionLength(Chars) >= 2)
                    s.editor.TabIndent();
                break;
            }
            // A tab indent records one action per line, with the text before that line's tab.
            const int added = s.history.Count() - firstCount;
            if (kind == 6 && added > 0) {
                QString text = state.text;
                const int first = s.area.LineAt(state.selStart);
                for (int k = 0; k < added; ++k) {
                    before.push_back({ text, 0, 0, false });
                    const int start = TFakeTextArea(text).CharAt(first + k);
                    text.insert(start, u'\t');
                }
                ASSERT_EQ(text, s.area.Text());
            } else {
                ASSERT_LE(added, 1);
                if (added == 1)
                    before.push_back(state);
            }
        }

        ASSERT_EQ(static_cast<size_t>(s.history.Count()), before.size());
        while (!before.empty()) {
            s.recoloured.clear();
            s.history.Undo(s.area);
            const TState& state = before.back();
            ASSERT_EQ(s.area.Text(), state.text) << "round " << round << ", undo " << before.size();
            if (state.selectionRestored) {
                ASSERT_EQ(s.area.SelStart(), state.selStart);
                ASSERT_EQ(s.area.SelEnd(), state.selEnd);
            }
            for (int line : s.recoloured)
                ASSERT_LE(line, s.area.AreaLen(Lines));
            before.pop_back();
        }
        EXPECT_EQ(s.history.Count(), 0);
    }
}

// With typing grouped, keys are one step until the caret moves, a second passes, a line break comes
// or typing turns to deleting. Undoing every step returns to the start, redoing them to the end.
TEST(HistoryTest, GroupedTypingIsOneStepUntilTheRunBreaks)
{
    // A letter types itself, '<' is Backspace, '>' Delete, '\n' Enter; '[' moves the caret one left,
    // '|' tells the history the caret moved and came back; '~' waits a second.
    const struct {
        const char16_t *text, *keys;
        int caret, selected, steps;
    } cases[] = { { u"", u"local x", 0, 0, 1 }, { u"a xyz b", u"ok", 2, 3, 1 }, { u"hello", u"<<<", 5, 0, 1 },
        { u"hello", u">>>", 0, 0, 1 }, { u"ab", u"x[y", 2, 0, 2 }, { u"ab", u"x|y", 2, 0, 2 },
        { u"", u"ab~c", 0, 0, 2 }, { u"", u"ab\ncd", 0, 0, 3 }, { u"", u"abc<<d", 0, 0, 3 },
        { u"abcd", u"<>", 2, 0, 2 }, { u"a\nbc", u"<<<<", 4, 0, 3 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(Q(c.keys).toStdString());
        TUndoSetup s(Q(c.text));
        std::chrono::milliseconds now { 0 };
        s.history.SetClock([&now] { return now; });
        s.history.SetGroupTyping(true);
        s.area.SetSelection(c.caret, c.selected, Chars);
        const std::map<char16_t, std::function<void()>> keys = { { u'<', [&] { s.editor.Backspace(); } },
            { u'>', [&] { s.editor.Delete(); } }, { u'\n', [&] { s.editor.EnterWithAutoIndent(); } },
            { u'[', [&] { s.area.SetSelection(s.editor.Cursor() - 1, 0, Chars); } },
            { u'|', [&] { s.history.EndGroup(); } }, { u'~', [&] { now += THistory::GroupPause; } } };
        for (const char16_t* key = c.keys; *key; ++key) {
            if (const auto found = keys.find(*key); found != keys.end())
                found->second();
            else
                s.editor.Type(QChar(*key));
        }
        const QString edited = s.area.Text();
        ASSERT_EQ(s.history.Count(), c.steps);
        while (s.history.Count() > 0)
            s.history.Undo(s.area);
        EXPECT_EQ(s.area.Text(), Q(c.text));
        EXPECT_EQ(std::pair(s.editor.Cursor(), s.editor.SelLength()), std::pair(c.caret, c.selected));
        while (s.history.RedoCount() > 0)
            s.history.Redo(s.area);
        EXPECT_EQ(s.area.Text(), edited);
    }
}
