#pragma once
// The named string ids of the program, read from embedded/StringIds.h: every line of the form
//   constexpr StringId kStrName = 93;

#include "tools/pack/Diagnostics.h"

#include <cstdint>
#include <string>
#include <vector>

using ByteVector = std::vector<unsigned char>;

struct NamedStringId {
    std::string name;
    uint32_t id;
    int line;
};

bool ParseStringIdList(const ByteVector& content, const std::string& file, std::vector<NamedStringId>& out,
                       CDiagnostics& diagnostics);
