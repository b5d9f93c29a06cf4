// Runs a fuzz target's checks over saved inputs (files, or folders of them) without libFuzzer,
// so every build replays the seed corpus and the inputs a fuzzer once found.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

void replay(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes { std::istreambuf_iterator<char>(in),
        std::istreambuf_iterator<char>() };
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

} // namespace

int main(int argc, char **argv)
{
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(path)) {
            for (const auto &entry : std::filesystem::directory_iterator(path))
                files.push_back(entry.path());
        } else {
            files.push_back(path);
        }
        for (const auto &file : files) {
            replay(file);
            ++count;
        }
    }
    std::printf("replayed %zu inputs\n", count);
    return count > 0 ? 0 : 1;
}
