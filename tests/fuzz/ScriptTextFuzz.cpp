// Any bytes loaded as a script and saved again in the format found come back byte for byte, and the
// text holds nothing its charset cannot write.
#include "FuzzCheck.h"

#include "resources/ScriptText.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TDecodedScript script = DecodeScript(bytes);
    FUZZ_CHECK(EncodeScript(script.text, script.format) == bytes);
    FUZZ_CHECK(!FirstUnencodable(script.text, script.format.charset));
    // A CR LF file's text has no line break left with its carriage return.
    if (script.format.lineEnding == TLineEnding::CrLf)
        FUZZ_CHECK(!script.text.contains(QStringLiteral("\r\n")));
    return 0;
}
