// Feeds arbitrary UTF-16 lines to the lexer: the parts, joined, give the line back; no part is empty
// except the single one of an empty line.
#include "FuzzCheck.h"

#include "highlight/Lexer.h"

#include <QString>

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString line(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(line.data(), data, (size / 2) * 2);

    // Reused like the colouring's list, so a part left over from an earlier input would show.
    static std::vector<TLexerSpan> spans;
    TLexer::ScanLine(line, spans);
    FUZZ_CHECK(!spans.empty());
    QString joined;
    for (const TLexerSpan& span : spans) {
        FUZZ_CHECK(span.Start == joined.size() && span.Length >= 0 && span.Length <= line.size() - span.Start);
        FUZZ_CHECK(span.Length > 0 || (line.isEmpty() && spans.size() == 1));
        FUZZ_CHECK(span.Type >= TLexer::PT_OTHER && span.Type <= TLexer::PT_BRACKET);
        joined += line.mid(span.Start, span.Length);
    }
    FUZZ_CHECK(joined == line);
    return 0;
}
