#pragma once
// Key guard set-up shared by the container and string-table tests.

#include "embedded/Guard.h"

#include <cstdint>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Moves and an XOR step that touch the key, with the pivot outside the XOR range.
inline const GuardParameters kTestGuardParameters = {
    200,               // key offset
    {20, 900, 40},     // first move: destination, source, count
    {300, 20, 40},     // second move
    {10, 190, 520},    // XOR step: pivot, start, count
};

inline Bytes TestMaterial()
{
    Bytes material(CGuard::kMaterialLength);
    uint32_t state = 12345;
    for (unsigned char& b : material) {
        state = state * 1103515245u + 12345u;
        b = static_cast<unsigned char>(state >> 16);
    }
    return material;
}

inline Bytes Slice(const unsigned char* data, int32_t count) { return Bytes(data, data + count); }
