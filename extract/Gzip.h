// A gzip file (RFC 1952) of stored, uncompressed deflate blocks (RFC 1951),
// for formats that must be gzip: any gunzip reads it, and it needs no
// compression library. Device files of a few kilobytes gain little from
// compression anyway.
#pragma once

#include <string>
#include <string_view>

namespace bankwise {

// Appends data to out as a complete gzip file, with no name and no time.
void AppendGzipStored(std::string_view data, std::string& out);

}  // namespace bankwise
