#pragma once
// Operations on the live key table (m_keys of the installer) that need no system services: its
// start state, the search by scan code, normalisation, and the stored form of the virtual-key
// overrides (install records value 157: 4-byte pairs of 16-bit scan code and 16-bit override,
// little-endian, in table order, no header).

#include "core/KeyCatalogue.h"

#include <cstdint>

// Copies the catalogue into keys (kKeyCatalogueRows rows) with every override cleared.
void InitKeyTable(ScanCodeEntry* keys);

// The first live row with scanCode (its low 16 bits), or null. Stops at the first zero scan code.
ScanCodeEntry* FindKey(ScanCodeEntry* keys, int count, uint32_t scanCode);

// Clears, in every row, a remap onto the key's own scan code and an override that every variant's
// library already gives the key. Row i is compared with catalogue row i. 0 when there is no table.
int NormalizeKeys(ScanCodeEntry* keys, int count);

// Sets the overrides of the length / 4 pairs (a trailing partial pair is ignored; pairs of keys
// not in the table and zero overrides change nothing), then normalises. 0 for a null or empty
// value or no table. The buffer stays the caller's.
int ApplyKeyOverrides(ScanCodeEntry* keys, int count, const unsigned char* pairs, uint32_t length);

// Normalises, then returns the pairs of the rows before the first zero scan code that carry an
// override, in a new buffer (delete[]) of `length` bytes; an empty list gives a buffer of length
// 0. Null when there is no table.
unsigned char* BuildKeyOverrides(ScanCodeEntry* keys, int count, uint32_t& length);
