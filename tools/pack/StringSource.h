#pragma once
// Text sources of the string tables and the table builder.
//
// Source format (UTF-8, one file per table):
//   # A comment runs from '#' outside a text to the end of the line.
//   93 = "Keyboard layout setup"
//   131 = "First line of a longer text,\n"
//         "continued on a line that starts with a quoted piece."
// Ids are decimal or 0x-prefixed hexadecimal and unique within a file. Escapes in texts:
// \n \r \t \\ \" \uXXXX \U00XXXXXX; any other escape is an error.

#include "tools/pack/Diagnostics.h"

#include <cstdint>
#include <string>
#include <vector>

using ByteVector = std::vector<unsigned char>;

struct StringSourceEntry {
    uint32_t id;
    std::u32string text;
    int line;
};

struct StringSource {
    std::string file;
    std::vector<StringSourceEntry> entries;  // in the order of the file

    const StringSourceEntry* Find(uint32_t id) const;
};

// Parses one source; every problem is reported with its file and line. False on any error.
bool ParseStringSource(const ByteVector& content, const std::string& file, StringSource& out,
                       CDiagnostics& diagnostics);

// One PackedString record: the 8-bit (UTF-8) form when it is shorter than UTF-16 and the text has
// no character beyond U+FFFF (which the program's UTF-8 decoder does not take), else UTF-16.
ByteVector EncodeRecord(const std::u32string& text);

// The unpacked table: entries sorted by id, then the records; identical records are stored once.
// The entry count is entries.size().
ByteVector BuildStringTable(const std::vector<StringSourceEntry>& entries);
