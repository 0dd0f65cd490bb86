#pragma once
// The payload in memory: the distinct stored blocks and which catalogue entry uses which block.
// BuildPayload makes it from a manifest; the generated source is written from it and read back
// into it for inspection.

#include "embedded/Payload.h"
#include "tools/pack/Diagnostics.h"
#include "tools/pack/Manifest.h"

#include <string>
#include <vector>

using ByteVector = std::vector<unsigned char>;

constexpr int kNoBlock = -1;

struct PayloadImage {
    GuardParameters guard{};
    std::vector<ByteVector> blocks;  // distinct stored blocks; the key material is one of them
    int keyMaterial = kNoBlock;
    int tables[kTableCount] = {kNoBlock, kNoBlock, kNoBlock, kNoBlock};
    int licences[kUiLanguages] = {kNoBlock, kNoBlock};
    int files[kFileCount] = {kNoBlock, kNoBlock, kNoBlock};
    int libraries[kLayoutSets][kLayoutVariants][kLayoutSlots];

    PayloadImage();
};

enum class BlockKind { kKeyMaterial, kStringTable, kLicence, kFile, kLibrary };

struct CatalogueEntry {
    std::string name;  // e.g. "strings.default", "licence.1", "library.0.2.11"
    BlockKind kind;
    int block;         // index into PayloadImage::blocks, or kNoBlock for an empty slot
};

// Every entry of the catalogue in a fixed order: key material, tables, licences, files, libraries.
std::vector<CatalogueEntry> Catalogue(const PayloadImage& image);

// Reads, checks and packs every input of the manifest. False when anything is wrong; each problem
// is reported with its file and line.
bool BuildPayload(const Manifest& manifest, PayloadImage& image, CDiagnostics& diagnostics);
