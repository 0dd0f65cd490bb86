#pragma once
// Helpers shared by the source files of GString and the formatting engine.

#include <cstdint>
#include <string>

namespace gstring_internal {

inline int TextLength(const char16_t* text)
{
    return static_cast<int>(std::char_traits<char16_t>::length(text));
}

inline int TextLength(const char* text)
{
    return static_cast<int>(std::char_traits<char>::length(text));
}

inline bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Bytes of the UTF-8 encoding of length units, each unit encoded on its own (surrogates unpaired).
int64_t Utf8Size(const char16_t* text, int length);

// Writes the 1 to 3 bytes of unit to out and returns their number.
int EncodeUtf8(char16_t unit, unsigned char* out);

} // namespace gstring_internal
