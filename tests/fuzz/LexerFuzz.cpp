// Feeds arbitrary UTF-16 lines to the lexer and aborts when the parts do not give the line back.
#include "highlight/Lexer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString line(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    std::memcpy(line.data(), data, (size / 2) * 2);

    static TLexer lexer;
    lexer.ParseLine(line);
    QString joined;
    for (int k = 0; k < lexer.Parts; ++k) {
        if (lexer.Part[k].isEmpty() && !line.isEmpty())
            std::abort();
        if (lexer.PartType[k] < TLexer::PT_OTHER || lexer.PartType[k] > TLexer::PT_BRACKET)
            std::abort();
        joined += lexer.Part[k];
    }
    if (joined != line || lexer.Parts > lexer.PartsCount)
        std::abort();
    return 0;
}
