/* The tables of a Windows keyboard-layout library, as the system reads them through the
 * library's one export, KbdLayerDescriptor, which returns the KbdTables. Written from the public
 * description of the format; pointers have the width of the processor the library is built for.
 * Included by the table sources that tools/layout generates (C) and by the tests (C++). */
#ifndef EMBEDDED_LAYOUTS_KBDTABLES_H
#define EMBEDDED_LAYOUTS_KBDTABLES_H

#include <stddef.h>

typedef unsigned char KbdByte;
typedef unsigned short KbdWord; /* also a UTF-16 unit */
typedef unsigned int KbdDword;

/* A modifier key's virtual key and its modifier bits (Shift 1, Ctrl 2, Alt 4); ends with {0, 0}. */
typedef struct KbdVkToBit
{
    KbdByte m_vk;
    KbdByte m_modBits;
} KbdVkToBit;

/* m_modNumber[bits] is the character column of a modifier combination, 0x0F for none. */
typedef struct KbdModifiers
{
    KbdVkToBit* m_vkToBit;
    KbdWord m_maxModBits;
    KbdByte m_modNumber[8];
} KbdModifiers;

/* A character-table entry of n columns. Characters 0xF000 (none) and 0xF001 (dead key) are
 * markers; the entry after a dead key has virtual key 0xFF and holds the dead characters. A table
 * ends with an entry whose virtual key is 0. */
/* clang-format off */
#define KBD_VK_TO_WCHARS(n) struct { KbdByte m_vk; KbdByte m_attributes; KbdWord m_wch[n]; }
/* clang-format on */

/* One character table; the list of them ends with a null entry. */
typedef struct KbdVkToWcharTable
{
    KbdByte* m_entries;
    KbdByte m_modifications;
    KbdByte m_entrySize;
} KbdVkToWcharTable;

/* m_both: base character in the low word, dead character in the high word; ends with zeros. */
typedef struct KbdDeadKey
{
    KbdDword m_both;
    KbdWord m_composed;
    KbdWord m_flags;
} KbdDeadKey;

/* A key's name; the list is ordered by scan code and ends with {0, null}. */
typedef struct KbdScanName
{
    KbdByte m_scan;
    KbdWord* m_name;
} KbdScanName;

/* A prefixed scan code's virtual key; the list ends with {0, 0}. */
typedef struct KbdScanVk
{
    KbdByte m_scan;
    KbdWord m_vk;
} KbdScanVk;

typedef struct KbdTables
{
    KbdModifiers* m_charModifiers;
    KbdVkToWcharTable* m_vkToWcharTables;
    KbdDeadKey* m_deadKeys;
    KbdScanName* m_keyNames;
    KbdScanName* m_keyNamesExt;
    KbdWord** m_keyNamesDead; /* dead character, then its name; ends with null */
    KbdWord* m_scanToVk;
    KbdByte m_scanToVkCount;
    KbdScanVk* m_scanToVkE0;
    KbdScanVk* m_scanToVkE1;
    KbdDword m_localeFlags; /* low word: locale flags; high word: table version */
    KbdByte m_ligatureMax;
    KbdByte m_ligatureEntrySize;
    void* m_ligatures;
    KbdDword m_type;
    KbdDword m_subType;
} KbdTables;

#ifdef __cplusplus
#define KBD_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define KBD_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* The documented offsets: 32-bit libraries first, then 64-bit ones. */
#define KBD_OFFSET(at32, at64) (sizeof(void*) == 8 ? (at64) : (at32))
KBD_STATIC_ASSERT(sizeof(KbdScanVk) == 4 && offsetof(KbdScanVk, m_vk) == 2, "KbdScanVk layout");
KBD_STATIC_ASSERT(sizeof(KbdDeadKey) == 8, "KbdDeadKey layout");
KBD_STATIC_ASSERT(offsetof(KbdModifiers, m_maxModBits) == KBD_OFFSET(4, 8) &&
                      offsetof(KbdModifiers, m_modNumber) == KBD_OFFSET(6, 10),
                  "KbdModifiers layout");
KBD_STATIC_ASSERT(sizeof(KbdVkToWcharTable) == KBD_OFFSET(8, 16), "KbdVkToWcharTable layout");
KBD_STATIC_ASSERT(sizeof(KbdScanName) == KBD_OFFSET(8, 16), "KbdScanName layout");
KBD_STATIC_ASSERT(offsetof(KbdTables, m_scanToVk) == KBD_OFFSET(24, 48) &&
                      offsetof(KbdTables, m_scanToVkCount) == KBD_OFFSET(28, 56) &&
                      offsetof(KbdTables, m_scanToVkE0) == KBD_OFFSET(32, 64) &&
                      offsetof(KbdTables, m_scanToVkE1) == KBD_OFFSET(36, 72) &&
                      offsetof(KbdTables, m_localeFlags) == KBD_OFFSET(40, 80) &&
                      offsetof(KbdTables, m_ligatureMax) == KBD_OFFSET(44, 84) &&
                      offsetof(KbdTables, m_ligatures) == KBD_OFFSET(48, 88) &&
                      offsetof(KbdTables, m_type) == KBD_OFFSET(52, 96) && sizeof(KbdTables) == KBD_OFFSET(60, 104),
                  "KbdTables layout");

#endif
