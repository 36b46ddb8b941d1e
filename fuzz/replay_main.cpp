// Replays saved inputs (files, or folders in name order) through a fuzz
// target without libFuzzer, so the test suite runs the corpus with any
// compiler. No input at all is an error: a wrong path must not pass.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::size_t before = files.size();
        if (fs::is_directory(argv[i])) {
            for (const fs::directory_entry& entry : fs::directory_iterator(argv[i])) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
        } else {
            files.push_back(argv[i]);
        }
        std::sort(files.begin() + static_cast<std::ptrdiff_t>(before), files.end());
    }
    for (const fs::path& file : files) {
        std::ifstream stream(file, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)), {});
        if (!stream.is_open() || stream.bad()) {
            std::cerr << "cannot read " << file.string() << '\n';
            return 1;
        }
        // Exactly the input's bytes, so the sanitizers see any read past it;
        // an empty input still gets a valid pointer, as libFuzzer gives it.
        const auto data = std::make_unique<std::uint8_t[]>(std::max<std::size_t>(bytes.size(), 1));
        std::copy(bytes.begin(), bytes.end(), data.get());
        LLVMFuzzerTestOneInput(data.get(), bytes.size());
    }
    std::cout << "replayed " << files.size() << " input(s)\n";
    return files.empty() ? 1 : 0;
}
