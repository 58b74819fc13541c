// Any bytes loaded as a script and saved again in the format found come back byte for byte, unless
// their line ends were mixed: then saving again changes nothing more. The text holds nothing its
// charset cannot write, and every carriage return of the file is gone into a line break.
#include "FuzzCheck.h"

#include "resources/ScriptText.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TDecodedScript script = DecodeScript(bytes);
    const QByteArray saved = EncodeScript(script.text, script.format);
    if (script.format.mixedLineEndings) {
        const TDecodedScript again = DecodeScript(saved);
        FUZZ_CHECK(again.text == script.text);
        FUZZ_CHECK(EncodeScript(again.text, again.format) == saved);
    } else {
        FUZZ_CHECK(saved == bytes);
    }
    FUZZ_CHECK(!FirstUnencodable(script.text, script.format.charset));
    FUZZ_CHECK(!script.text.contains(QLatin1Char('\r')));
    return 0;
}
