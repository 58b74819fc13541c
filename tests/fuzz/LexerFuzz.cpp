// Feeds arbitrary UTF-16 lines to the lexer: the parts, joined, give the line back; no part is empty
// except the single one of an empty line; the ranges agree with the parts.
#include "FuzzCheck.h"

#include "highlight/Lexer.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString line(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(line.data(), data, (size / 2) * 2);

    static TLexer lexer;
    lexer.ParseLine(line);
    FUZZ_CHECK(lexer.Parts >= 1 && lexer.Parts <= lexer.PartsCount);
    FUZZ_CHECK(lexer.Spans().size() == std::size_t(lexer.Parts));
    QString joined;
    for (int k = 0; k < lexer.Parts; ++k) {
        FUZZ_CHECK(!lexer.Part[k].isEmpty() || (line.isEmpty() && lexer.Parts == 1));
        FUZZ_CHECK(lexer.PartType[k] >= TLexer::PT_OTHER && lexer.PartType[k] <= TLexer::PT_BRACKET);
        const TLexerSpan& span = lexer.Spans()[std::size_t(k)];
        FUZZ_CHECK(span.Start == joined.size() && span.Length == lexer.Part[k].size());
        FUZZ_CHECK(span.Type == lexer.PartType[k]);
        joined += lexer.Part[k];
    }
    FUZZ_CHECK(joined == line);
    return 0;
}
