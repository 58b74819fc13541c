// Runs a fuzz harness once over every file of its corpus, or over the files named on the command line,
// so that the ordinary build keeps each corpus passing without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {
bool Replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    std::fprintf(stderr, "%s (%zu bytes)\n", file.c_str(), bytes.size());
    // Like libFuzzer, never a null pointer, not even for an empty input.
    static const std::uint8_t none = 0;
    const auto* data = bytes.empty() ? &none : reinterpret_cast<const std::uint8_t*>(bytes.data());
    LLVMFuzzerTestOneInput(data, bytes.size());
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i)
        files.emplace_back(argv[i]);
    if (files.empty()) {
        const std::filesystem::path folder = std::filesystem::path(TLE_SOURCE_DIR) / "tests/fuzz/corpus" / TLE_HARNESS;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        if (error) {
            std::fprintf(stderr, "cannot list %s: %s\n", folder.c_str(), error.message().c_str());
            return 1;
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const auto& file : files)
        if (!Replay(file))
            return 1;
    std::fprintf(stderr, "%zu inputs replayed\n", files.size());
    return 0;
}
