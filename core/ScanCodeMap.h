#pragma once
// The system-wide scan-code map of Windows in its published form (all fields little-endian):
// version 0, flags 0, entry count n including the closing entry, n - 1 entries (low 16 bits the
// scan code the key now sends, 0 = none; high 16 bits the physical key's scan code), closing 0.
// The live key table holds it as the remap column.

#include "core/KeyCatalogue.h"

#include <cstdint>

// Size of a map that holds only the closing entry.
constexpr uint32_t kEmptyScancodeMapSize = 16;

// Sets the remaps of the keys the map names (a new scan code of 0 as kRemapSwitchedOff) and
// normalises. Entries of keys not in the table are dropped. A value shorter than 16 bytes, with a
// count below 2 or a count its length cannot hold is ignored: result 0, table unchanged.
int ApplyScancodeMap(ScanCodeEntry* keys, int count, const unsigned char* value, uint32_t length);

// The map of the remapped rows before the first zero scan code, in table order, in a new buffer
// (delete[]). When no key is remapped: the empty map when one existed at start (hadMap), else
// value = null and length = 0, meaning nothing is to be written. 0 when there is no table.
int BuildScancodeMap(const ScanCodeEntry* keys, int count, int hadMap, unsigned char*& value, uint32_t& length);
