#pragma once
// Writes the resource script of a layout library: a version resource, and a string table with
// the layout's display name as string kDisplayNameStringId in every language of the source's
// DESCRIPTIONS (the KBD description when there are none). The script is plain ASCII; other
// characters are written as escapes.

#include "tools/layout/KlcSource.h"

#include <string>

constexpr int kDisplayNameStringId = 1000;

std::string WriteResourceScript(const KlcSource& source, const std::string& sourceName);
