// Shared helpers: converting bytes as the programs do, the one driver of
// the readers' failure tables, scratch folders.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "Conversion.h"
#include "Detector.h"
#include "gen/MidiFile.h"

namespace bankwise::test {

using gen::Bytes;
using Strings = std::vector<std::string>;

struct Conversion
{
    bool ok = false;
    Strings messages;  // what the user was shown
    std::unique_ptr<CDumpExtractor> extractor;
    std::string text;  // the definition, when an extractor exists
};

// Detects and parses as the programs do, with every naming setting at its
// default; any extractor made (also after a failed parse, which the
// document keeps) writes its definition.
inline Conversion Convert(const Bytes& bytes, bool midi = false)
{
    static const CMemoryProfile defaults;
    CConversion conversion = ConvertDump(bytes, midi, defaults);
    Conversion result;
    result.ok = conversion.Succeeded();
    if (!result.ok)
        result.messages.push_back(DescribeError(conversion.error));
    result.extractor = std::move(conversion.extractor);
    if (result.extractor)
        result.extractor->WriteDefinition(result.text);
    return result;
}

// Bytes that repeat only every 251, so a piece read from the wrong place shows.
inline Bytes Pattern(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 251);
    return bytes;
}

inline Bytes Cut(Bytes bytes, std::size_t length)
{
    bytes.resize(length);
    return bytes;
}

inline Bytes Raw(const std::vector<Bytes>& messages, bool midi)
{
    return midi ? gen::MakeMidiFile(messages) : gen::JoinMessages(messages);
}

// A file, the one message the user sees (null: it converts), and how many
// patch lines are written then (-1: not checked).
struct ReadCase
{
    const char* what;
    Bytes file;
    const char* error = nullptr;
    int lines = -1;
    bool midi = false;
};

// Names read before a fault stay: every case writes the line `kept`.
inline void ExpectReads(const std::vector<ReadCase>& cases, const std::string& kept)
{
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Conversion result = Convert(c.file, c.midi);
        EXPECT_EQ(result.ok, c.error == nullptr);
        EXPECT_EQ(result.messages, c.error != nullptr ? Strings{c.error} : Strings{});
        EXPECT_NE(result.text.find("\r\n" + kept + "\r\n"), std::string::npos) << result.text;
        int lines = 0;  // "<slot>=..."
        const std::string& text = result.text;
        for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
            lines += at + 2 < text.size() && std::isdigit(static_cast<unsigned char>(text[at + 2]));
        if (c.lines >= 0) {
            EXPECT_EQ(lines, c.lines) << result.text;
        }
    }
}

inline std::string ReadText(const std::filesystem::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Whether a writer left a temporary file in dir.
inline bool HasTemporary(const std::filesystem::path& dir)
{
    return std::ranges::any_of(std::filesystem::directory_iterator(dir), [](const auto& entry) {
        return entry.path().extension() == ".tmp";
    });
}

// A folder of the test's own, gone afterwards; a random name, as tests and
// other checkouts run at once.
struct CScratchDir
{
    CScratchDir() { std::filesystem::create_directories(path); }
    ~CScratchDir() { std::filesystem::remove_all(path, ec); }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("bankwise-" + std::to_string(std::random_device{}()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::error_code ec;
};

}  // namespace bankwise::test
