#pragma once
// Patches an unpacked layout library image to the user's choices: the virtual-key overrides of the
// live key table into the scan-code table and the tables of 0xE0- and 0xE1-prefixed scan codes,
// and, when asked, a comma as the numeric-pad decimal key's base and Shift characters. Each place
// is found by a byte pattern (the start of the table, or the decimal key's characters).

#include "core/KeyCatalogue.h"

#include <cstdint>

// The bytes of a pattern as decoded from its hexadecimal text; m_bytes null when there was none.
struct BytePattern
{
    const unsigned char* m_bytes;
    int32_t m_size;
};

struct LibraryPatterns
{
    BytePattern m_scanTable;     // of the variant being installed
    BytePattern m_e0Table;
    BytePattern m_e1Table;
    BytePattern m_decimalCharacters; // needed only with a decimal comma
};

// 1 with the offset of the pattern's only occurrence in the image; 0 when the pattern is missing
// or empty, does not occur, or occurs more than once (the place to patch would be a guess).
int FindPattern(const unsigned char* image, uint32_t size, const BytePattern& pattern, uint32_t& offset);

// Writes the overrides of every row (scan codes below 0x7F into the scan-code table, 0xE0xx and
// 0xE1xx into the entry of their low byte in the prefixed tables, when the table has one) and,
// when comma is set, 0x2C over the decimal key's two characters. Every place is found and checked
// before anything is written: a pattern FindPattern refuses, a scan-code table that does not fit
// in the image, a prefixed table without its zero entry before the image ends, or decimal
// characters at its very end give 0 with the image unchanged.
int PatchLayoutImage(unsigned char* image, uint32_t size, const ScanCodeEntry* keys, int count,
                     const LibraryPatterns& patterns, int comma);
