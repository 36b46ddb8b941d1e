// Shared helpers of the test suite: running the detector over bytes in
// memory and collecting what it would show the user.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "Detector.h"
#include "MessageSink.h"
#include "gen/MidiFile.h"

namespace bankwise::test {

class CCollectingSink final : public IMessageSink
{
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

struct Conversion
{
    bool ok = false;
    std::vector<std::string> messages;  // what the user was shown
    std::unique_ptr<CDumpExtractor> extractor;
    std::string text;  // the definition, when an extractor exists
};

// Detects and parses bytes as a file with or without the MIDI-file flag and,
// when an extractor was made, writes its definition with the current
// application profile.
inline Conversion Convert(const gen::Bytes& bytes, bool midi = false)
{
    Conversion result;
    CMemoryByteSource source(bytes);
    CCollectingSink sink;
    result.ok = DetectAndParse(source, midi, sink, result.extractor);
    result.messages = sink.messages;
    if (result.extractor)
        result.extractor->WriteDefinition(result.text);
    return result;
}

// Runs one extractor's Parse directly over bytes.
inline bool ParseBytes(CDumpExtractor& extractor, const gen::Bytes& bytes, bool midi,
                       std::uint32_t offset)
{
    CMemoryByteSource source(bytes);
    return extractor.Parse(source, midi, offset);
}

// Joins lines with CR LF after each, as the writers end every line.
inline std::string Lines(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace bankwise::test
