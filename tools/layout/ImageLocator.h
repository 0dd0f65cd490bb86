#pragma once
// Finds, in a built layout library, the bytes the installer patches: the scan-code table, the
// tables of 0xE0- and 0xE1-prefixed scan codes, and the two characters of the numeric pad's
// decimal key. Each is searched as the exact bytes its tables give (none of them holds a
// pointer) and must occur exactly once in the image.
//
// The report (the library's sidecar file) has one line per item:
//   <item> <file offset, 0x + 8 hexadecimal digits> <length in bytes>
// with the items scan-table, e0-table, e1-table (each with its closing entry) and
// decimal-characters (the base character at the offset, the Shift character two bytes on).

#include "tools/layout/LayoutTables.h"

#include <cstdint>
#include <string>
#include <vector>

// Returns 1 with the report, or 0 with a message.
int LocatePatchedTables(const LayoutTables& tables, const std::vector<uint8_t>& image, const std::string& header,
                        std::string& report, std::string& error);

// The bytes of the items as the library holds them (little-endian).
std::vector<uint8_t> ScanTableBytes(const LayoutTables& tables);
std::vector<uint8_t> PrefixedTableBytes(const std::vector<ScanVk>& entries);
std::vector<uint8_t> CharTableBytes(const CharTable& table);
