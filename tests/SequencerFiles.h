// Reading back what the writers of other sequencers' formats make, with
// outside code: zlib for gzip, Qt's XML reader for XML.
#pragma once

#include <QXmlStreamReader>
#include <zlib.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bankwise::test {

// The data of a gzip file, or nothing when zlib finds it broken (a wrong
// CRC or length included) or followed by anything.
inline std::optional<std::string> Gunzip(std::string_view file)
{
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return std::nullopt;
    std::string data;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.data()));
    stream.avail_in = static_cast<uInt>(file.size());
    int status = Z_OK;
    char chunk[16384];
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        data.append(chunk, sizeof chunk - stream.avail_out);
    }
    const bool whole = status == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    return whole ? std::optional(data) : std::nullopt;
}

// Why text is no well-formed XML document, or "" when it is.
inline std::string XmlProblem(std::string_view text)
{
    QXmlStreamReader reader(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError() ? reader.errorString().toStdString() + " at line " +
                                   std::to_string(reader.lineNumber())
                             : std::string();
}

// The values of attribute on every element named element, in document
// order, as UTF-8.
inline std::vector<std::string> XmlAttributes(std::string_view text, const char* element,
                                              const char* attribute)
{
    std::vector<std::string> values;
    QXmlStreamReader reader(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String(element))
            values.push_back(
                reader.attributes().value(QLatin1String(attribute)).toString().toStdString());
    }
    return values;
}

}  // namespace bankwise::test
