#pragma once
// Text handling of the layout source format: UTF-16LE lines, tokens, numbers.

#include "tools/layout/KlcSource.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One token of a line. Quoted text loses its quotes; m_start is the token's offset in the line.
struct KlcToken
{
    std::u16string m_text;
    size_t m_start = 0;
    bool m_quoted = false;
};

// Splits a source into lines: it must start with the UTF-16LE byte-order mark FF FE and hold
// whole 16-bit units. Lines end at LF, CRLF or CR. Returns 1, or 0 with the error's line set.
int KlcSplitLines(const std::vector<uint8_t>& bytes, std::vector<std::u16string>& lines, KlcError& error);

// Splits a line into tokens at blanks (space, tab). "//" outside quotes ends the line, and so
// does ';' as the first non-blank character. Returns 0 on unterminated quoted text.
int KlcTokenize(const std::u16string& line, std::vector<KlcToken>& tokens);

// Whole-token hexadecimal number of 1 to maxDigits digits.
int KlcParseHex(std::u16string_view text, int maxDigits, uint32_t& value);
// Whole-token decimal number of 1 to 9 digits.
int KlcParseDecimal(std::u16string_view text, uint32_t& value);

// UTF-16 text as UTF-8, for messages; unpaired surrogates become U+FFFD.
std::string KlcToUtf8(std::u16string_view text);
// ASCII text as UTF-16.
std::u16string KlcFromAscii(std::string_view text);
// Whether text equals the ASCII word.
bool KlcEquals(std::u16string_view text, std::string_view word);
