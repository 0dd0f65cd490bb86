#pragma once
// The generated C++ source that carries the payload into the program (it defines what
// embedded/Payload.h declares), and the reader that takes such a source apart again for the
// inspection commands.

#include "tools/pack/Diagnostics.h"
#include "tools/pack/PayloadImage.h"

#include <string>

// origin names the manifest in the first line; it should not depend on where the tree lies.
std::string WritePayloadSource(const PayloadImage& image, const std::string& origin);

bool ReadPayloadSource(const std::string& text, const std::string& file, PayloadImage& image,
                       CDiagnostics& diagnostics);
