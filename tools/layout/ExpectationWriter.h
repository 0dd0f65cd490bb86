#pragma once
// Writes the expectation file of a layout library: what its loaded tables must hold, in a line
// format that the library tests read without a parser of the source format. Numbers are
// hexadecimal; texts are lists of UTF-16 units.
//
//   name <library name>
//   description <units>               the display name (string resource)
//   localeflags <dword>
//   modifiers <max bits> <column of bits 0..7>
//   scan <128 words>                  the scan-code table
//   e0 <scan>:<word> ...              the 0xE0 table, in order
//   e1 <scan>:<word> ...
//   table <width>                     a character table; its keys follow
//   key <vk> <attributes> <cell>...   cell: a unit, '-' for none, <unit>@ for a dead key
//   dead <accent> <base> <composed> <flags>
//   keyname <scan> <units>   keynameext <scan> <units>   keynamedead <units>

#include "tools/layout/KlcSource.h"
#include "tools/layout/LayoutTables.h"

#include <string>

std::string WriteExpectation(const KlcSource& source, const LayoutTables& tables, const std::string& sourceName);
