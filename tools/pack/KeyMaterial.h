#pragma once
// Generation of the key material and of the key guard's constants from a seed.
//
// The cipher key (CGuard::kKeyLength bytes) and the guard's constants (key offset, two moves,
// XOR step) are drawn from a pseudo-random sequence seeded with the seed; the stored material is
// then built backwards through the guard's steps so that CGuard::Load un-scrambles it into the key
// at the key offset. The same seed always gives the same bytes.

#include "embedded/Guard.h"

#include <string>
#include <vector>

using ByteVector = std::vector<unsigned char>;

struct KeyMaterial {
    GuardParameters parameters;
    ByteVector material;  // stored form, CGuard::kMaterialLength bytes
    ByteVector key;       // CGuard::kKeyLength bytes
};

// seedHex: 16 to 128 hexadecimal digits. False (with a reason) for a malformed seed.
bool MakeKeyMaterial(const std::string& seedHex, KeyMaterial& out, std::string& error);
