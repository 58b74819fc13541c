// Golden-file tests of the colouring: each golden/NAME.lua is coloured whole and line by line, and the
// formatted ranges must match golden/NAME.lua.ref, one line per range:
//     line column length class text
// with the line and column counted from 0 and the text's line break, tab and backslash written as
// \n, \t and \\.
//
// To write the references after a deliberate change, run this test with TLE_WRITE_GOLDEN=1 in the
// environment; it then writes every .ref beside its input and skips the comparison. A written
// reference is checked by hand against the lexer's rules before it is kept: every non-blank part of
// the input has one line, blanks and other single characters have none, and each class is the one
// the rules give.
#include "ClassScheme.h"
#include "FakeTextArea.h"
#include "highlight/SyntaxColouring.h"
#include "resources/EmbeddedFiles.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString GoldenFolder()
{
    return QStringLiteral(TLE_SOURCE_DIR "/tests/highlight/golden");
}

QString Escape(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\\')
            out += QStringLiteral("\\\\");
        else
            out += c;
    }
    return out;
}

// One reference line per formatting call, in the order of the text.
QString Reference(const TFakeTextArea& area)
{
    std::vector<TStyleCall> calls = area.calls;
    std::sort(calls.begin(), calls.end(), [](const TStyleCall& a, const TStyleCall& b) { return a.pos < b.pos; });
    QString out;
    for (const TStyleCall& call : calls) {
        const int line = area.LineAt(call.pos);
        out += QStringLiteral("%1 %2 %3 %4 %5\n")
                   .arg(line)
                   .arg(call.pos - area.CharAt(line))
                   .arg(call.length)
                   .arg(ClassName(call), Escape(area.AreaText(call.pos, call.length, TextUnit::Chars)));
    }
    return out;
}

QString ReadUtf8(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

TEST(ColouringGoldenTest, ScriptsColourAsTheirReferences)
{
    RegisterEmbeddedFiles();
    const std::optional<QStringList> keywords = LoadKeywordList();
    ASSERT_TRUE(keywords.has_value());
    TSyntaxColouring colouring(*keywords);

    const QDir folder(GoldenFolder());
    const QStringList inputs = folder.entryList({ QStringLiteral("*.lua") }, QDir::Files, QDir::Name);
    ASSERT_GE(inputs.size(), 4) << GoldenFolder().toStdString();
    const bool write = qEnvironmentVariableIsSet("TLE_WRITE_GOLDEN");

    for (const QString& name : inputs) {
        SCOPED_TRACE(name.toStdString());
        QString script = ReadUtf8(folder.filePath(name));
        ASSERT_FALSE(script.isEmpty());
        // A document drops its final line break when it is loaded.
        if (script.endsWith(u'\n'))
            script.chop(1);

        TFakeTextArea whole(script);
        colouring.ColourAll(whole, ClassScheme());
        const QString reference = Reference(whole);

        TFakeTextArea byLine(script);
        for (int line = 0; line <= byLine.AreaLen(TextUnit::Lines); ++line)
            colouring.ColourLine(byLine, line, ClassScheme());
        EXPECT_EQ(Reference(byLine), reference);

        const QString refPath = folder.filePath(name + QStringLiteral(".ref"));
        if (write) {
            QFile out(refPath);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(reference.toUtf8());
            continue;
        }
        EXPECT_EQ(reference.toStdString(), ReadUtf8(refPath).toStdString());
    }
    if (write)
        GTEST_SKIP() << "references written to " << GoldenFolder().toStdString();
}
