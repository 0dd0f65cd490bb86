#pragma once
// The embedded blocks of the program and the key guard's constants. The definitions are generated
// at build time by the packing tool (tools/pack) from embedded/content/manifest.txt into the
// payload library. Every block except the key material is enciphered and packed; a stored length
// is a multiple of 8, and an empty library slot has a null block and length 0.

#include "embedded/Guard.h"

#include <cstdint>

struct EmbeddedBlock {
    const unsigned char* bytes;
    uint32_t storedLength;
};

constexpr int kLayoutSets = 2;       // 0 standard, 1 alternative
constexpr int kLayoutVariants = 3;
constexpr int kLayoutSlots = 13;     // by version code and processor, see LayoutSlot below
constexpr int kUiLanguages = 2;     // user-interface languages: a licence and a string table each

// Slots of the layout library catalogue.
enum LayoutSlot {
    kSlot50X86 = 0,
    kSlot51X86 = 1,
    kSlot52Win32 = 2,
    kSlot52Itanium = 3,
    kSlot52X64 = 4,
    kSlot60Win32 = 5,
    kSlot60Itanium = 6,
    kSlot60X64 = 7,
    kSlot61Win32 = 8,
    kSlot61Itanium = 9,
    kSlot61X64 = 10,
    kSlotLaterWin32 = 11,
    kSlotLaterX64 = 12,
};

extern const GuardParameters g_guardParameters;
extern const EmbeddedBlock g_keyMaterial;  // scrambled, not packed; CGuard::kMaterialLength bytes

extern const EmbeddedBlock g_defaultStrings;
extern const EmbeddedBlock g_installerStrings;
extern const EmbeddedBlock g_languageStrings[kUiLanguages];

extern const unsigned char* const g_licenceTexts[kUiLanguages];  // UTF-8, may begin with a BOM
extern const uint32_t g_licenceTextLengths[kUiLanguages];

extern const EmbeddedBlock g_sharedDocument;
extern const EmbeddedBlock g_productDocument;
extern const EmbeddedBlock g_pageFile;

// LayoutLibraryCatalogue: indexed by set, variant and slot.
extern const unsigned char* const g_layoutLibraries[kLayoutSets][kLayoutVariants][kLayoutSlots];
extern const uint32_t g_layoutLibraryLengths[kLayoutSets][kLayoutVariants][kLayoutSlots];
