#pragma once
// Strict UTF-8 decoding and the two encodings the string tables store.

#include <cstddef>
#include <string>

// Decodes text; false at the first malformed, overlong or surrogate sequence, whose byte offset
// goes to badOffset.
bool DecodeUtf8(const std::string& text, std::u32string& out, std::size_t& badOffset);
void AppendUtf8(std::string& out, char32_t c);
void AppendUtf16(std::u16string& out, char32_t c);
