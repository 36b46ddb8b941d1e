// What the readers of self-delimiting dumps share: walking a family's
// messages one by one (each ends at its first 0xF7, since every data byte
// is 7-bit), names taken from the synth's character codes, and the title of
// a list of edit-buffer messages.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ByteView.h"
#include "DumpExtractor.h"

namespace bankwise {

// One message as a reader sees it: o is its manufacturer byte, end the
// position of its 0xF7, or the end of the data when the dump stops first
// (cut is then set). Every field a reader takes must lie before end.
struct CMessage
{
    std::size_t o = 0;
    std::size_t end = 0;
    bool cut = false;

    bool Holds(std::size_t offset, std::size_t count) const
    {
        return count <= end - o && offset <= end - o - count;
    }
};

// Walks the messages of one family from first. isHeader(data, at) tells a
// message of the family at its manufacturer byte; headerLength is how many
// bytes it looks at. read(message) returns false for a message that breaks
// the family's layout. A raw dump holds the messages back to back (the
// next one's 0xF0 is stepped over untested); in a MIDI file the next message
// is the next header after this one's 0xF7. Returns where a message that is
// not of the family, or that read refuses, begins (its manufacturer byte),
// or nothing when the dump was read; cutOff tells whether the dump stops
// inside a message.
template <class IsHeader, class Read>
std::optional<std::size_t> WalkMessages(const CByteView& data, bool bMidiFile, std::size_t first,
                                        std::uint8_t manufacturer, std::size_t headerLength,
                                        IsHeader isHeader, Read read, bool& cutOff)
{
    std::size_t o = first;
    while (o < data.size()) {
        if (data.ByteIs(o, manufacturer) && MessageCutShort(data, o, headerLength)) {
            cutOff = true;  // too short to tell what it was
            return std::nullopt;
        }
        if (!data.Fits(o, headerLength) || !isHeader(data, o))
            return o;
        const std::size_t f7 = data.Find(o, 0xF7);
        const CMessage message{o, f7 == CByteView::npos ? data.size() : f7, f7 == CByteView::npos};
        if (!read(message))
            return o;
        if (message.cut) {
            cutOff = true;
            return std::nullopt;
        }
        if (bMidiFile) {
            o = message.end + 1;
            while (o < data.size() && !(data.Fits(o, headerLength) && isHeader(data, o)))
                ++o;
        } else {
            o = message.end + 2;
        }
    }
    cutOff = EndsInsideMessage(data, bMidiFile, o);
    return std::nullopt;
}

// A name from one byte per character: a 0 shows as a blank, and trailing
// white space goes, as the synths pad their names.
std::string NameFromCodes(std::string codes);

// The title of a list that no bank letter or number names (edit-buffer
// messages, midimaps): the bank pattern up to its first "Bank", "Internal"
// or '%', trailing white space cut, then a blank and kind; kind alone when
// nothing comes before them.
std::string KindTitle(std::string_view bankFormat, std::string_view kind);

}  // namespace bankwise
