// Replays saved inputs through a fuzz target without libFuzzer, so that
// every compiler builds the targets and the test suite runs the corpus and
// the crash reproducers. Arguments are files or folders; a folder's regular
// files are replayed in name order. No input at all is an error, so that a
// wrong path cannot pass as an empty, green run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool Replay(const fs::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        std::cerr << "cannot open " << file.string() << '\n';
        return false;
    }
    const auto size = static_cast<std::size_t>(fs::file_size(file));
    // Exactly size bytes, so the sanitizers see any read past the input; an
    // empty input still gets a valid pointer, as libFuzzer gives it.
    const auto data = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(size, 1));
    stream.read(reinterpret_cast<char*>(data.get()), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(stream.gcount()) != size) {
        std::cerr << "cannot read " << file.string() << '\n';
        return false;
    }
    LLVMFuzzerTestOneInput(data.get(), size);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " FILE_OR_FOLDER...\n";
        return 2;
    }
    try {
        std::vector<fs::path> files;
        for (int i = 1; i < argc; ++i) {
            const fs::path path = argv[i];
            if (fs::is_directory(path)) {
                std::vector<fs::path> found;
                for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
                    if (entry.is_regular_file())
                        found.push_back(entry.path());
                }
                std::sort(found.begin(), found.end());
                files.insert(files.end(), found.begin(), found.end());
            } else {
                files.push_back(path);
            }
        }
        std::size_t replayed = 0;
        for (const fs::path& file : files) {
            if (!Replay(file))
                return 1;
            ++replayed;
        }
        std::cout << "replayed " << replayed << " input(s)\n";
        return replayed == 0 ? 1 : 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
