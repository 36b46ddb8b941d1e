// What bankwise-convert writes, byte for byte as every golden file holds it
// (the layout is in tests/data/README.md). Nothing here needs more than the
// converter, so the Windows suite compares the same files.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Converter.h"
#include "FileNames.h"
#include "OutputFormat.h"
#include "TestSupport.h"

namespace bankwise {
namespace {

namespace fs = std::filesystem;

void ExpectConverterWrites(const fs::path& golden, const std::string& format)
{
    const std::string name = golden.stem().string();
    test::Strings args{"--no-settings", "--format", format};
    std::istringstream extra(test::ReadText(fs::path(golden).replace_extension(".args")));
    for (std::string arg; std::getline(extra, arg);)
        args.push_back(arg);
    const fs::path errors = fs::path(golden).replace_extension(".err");
    int dumps = 0;
    for (const char* kind : {".syx", ".mid"}) {
        const fs::path dump = golden.parent_path() / (name.substr(0, name.find('@')) + kind);
        if (!fs::exists(dump))
            continue;
        const std::string dumpName = NameOfPath(dump);
        SCOPED_TRACE(dumpName + " as " + golden.filename().string());
        ++dumps;
        std::ostringstream out, err;
        CMemoryProfile unused;
        args.push_back(dumpName);
        EXPECT_EQ(RunConverter(args, out, err, unused), kExitOk);
        args.pop_back();
        EXPECT_EQ(out.str(), test::ReadText(golden));
        std::string shown = err.str();
        for (auto at = shown.find(dumpName); at != std::string::npos; at = shown.find(dumpName, at))
            shown.replace(at, dumpName.size(), dump.filename().string());
        // One .err serves the raw dump and the MIDI file alike.
        std::string expected = fs::exists(errors) ? test::ReadText(errors) : "";
        for (const char* other : {".syx", ".mid"}) {
            const std::string spelt = dump.stem().string() + other;
            for (auto at = expected.find(spelt); at != std::string::npos;
                 at = expected.find(spelt, at + 1))
                expected.replace(at, spelt.size(), dump.filename().string());
        }
        EXPECT_EQ(shown, expected);
    }
    EXPECT_GT(dumps, 0) << "no dump for " << golden;
}

// Looks for the files at run time, so a new one is compared without a rebuild.
TEST(Golden, ConverterWritesEveryGoldenFile)
{
    int files = 0;
    for (const char* root : {BANKWISE_EXAMPLES_DIR, BANKWISE_TEST_DATA_DIR}) {
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            // What no dump gives has tests of its own.
            if (entry.path().parent_path().filename() == "writers")
                continue;
            const std::string extension = entry.path().extension().string();
            const auto format = FindOutputFormat(extension.empty() ? "" : extension.substr(1));
            if (format) {
                ++files;
                ExpectConverterWrites(entry.path(), GetOutputExtension(*format).substr(1));
            }
        }
    }
    EXPECT_GE(files, 90);
}

}  // namespace
}  // namespace bankwise
