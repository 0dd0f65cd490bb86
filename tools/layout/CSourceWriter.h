#pragma once
// Writes the C source of a layout library's tables: every table, strings included, in the .data
// section, where the layout libraries of Windows itself keep them, and KbdLayerDescriptor, which
// returns the KbdTables. The source compiles for 32-bit and 64-bit Windows alike; it
// includes embedded/layouts/KbdTables.h by the name "KbdTables.h".

#include "tools/layout/KlcSource.h"
#include "tools/layout/LayoutTables.h"

#include <string>

std::string WriteCSource(const KlcSource& source, const LayoutTables& tables, const std::string& sourceName);
