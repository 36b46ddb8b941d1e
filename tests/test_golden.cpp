// Every golden file is what bankwise-convert must write, byte for byte:
// DIR/NAME.ins (or .midnam, .reabank) for the dump DIR/NAME.syx and/or
// DIR/NAME.mid. A NAME of the form DUMP@VARIANT is the same dump with the
// arguments of NAME.args (one a line); NAME.err holds what standard error
// must show, with the dump's file name for its path, and is empty when absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "Converter.h"
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
        SCOPED_TRACE(dump.string() + " as " + golden.filename().string());
        ++dumps;
        std::ostringstream out, err;
        CMemoryProfile unused;
        args.push_back(dump.string());
        EXPECT_EQ(RunConverter(args, out, err, unused), kExitOk);
        args.pop_back();
        EXPECT_EQ(out.str(), test::ReadText(golden));
        std::string shown = err.str();
        if (const auto at = shown.find(dump.string()); at != std::string::npos)
            shown.replace(at, dump.string().size(), dump.filename().string());
        EXPECT_EQ(shown, fs::exists(errors) ? test::ReadText(errors) : "");
    }
    EXPECT_GT(dumps, 0) << "no dump for " << golden;
}

// Looks for the files at run time, so a new one is compared without a rebuild.
TEST(Golden, ConverterWritesEveryGoldenFile)
{
    int files = 0;
    for (const char* root : {BANKWISE_EXAMPLES_DIR, BANKWISE_TEST_DATA_DIR}) {
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string format = entry.path().extension().string();
            if (format == ".ins" || format == ".midnam" || format == ".reabank") {
                ++files;
                ExpectConverterWrites(entry.path(), format.substr(1));
            }
        }
    }
    EXPECT_GE(files, 40);
}

}  // namespace
}  // namespace bankwise
