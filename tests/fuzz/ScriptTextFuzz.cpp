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
    // Every line break of the text is one of the file's.
    FUZZ_CHECK(script.text.count(QLatin1Char('\n')) == bytes.count('\n') - (script.format.finalLineBreak ? 1 : 0));
    return 0;
}
