#include "tools/layout/KlcText.h"

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

int KlcSplitLines(const std::vector<uint8_t>& bytes, std::vector<std::u16string>& lines, KlcError& error)
{
    lines.clear();
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        error = {1, "the source must be UTF-16LE text starting with the byte-order mark FF FE"};
        return 0;
    }
    std::u16string line;
    size_t i = 2;
    for (; i + 1 < bytes.size(); i += 2) {
        char16_t c = char16_t(bytes[i] | bytes[i + 1] << 8);
        if (c == u'\n') {
            lines.push_back(line);
            line.clear();
        } else if (c == u'\r') {
            lines.push_back(line);
            line.clear();
            if (i + 3 < bytes.size() && bytes[i + 2] == '\n' && bytes[i + 3] == 0)
                i += 2;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    if (i < bytes.size()) {
        error = {lines.empty() ? 1 : int(lines.size()), "the source ends in the middle of a UTF-16 unit (odd length)"};
        return 0;
    }
    return 1;
}

int KlcTokenize(const std::u16string& line, std::vector<KlcToken>& tokens)
{
    tokens.clear();
    size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (line.compare(i, 2, u"//") == 0)
            break;
        if (line[i] == u';' && tokens.empty())
            break;
        KlcToken token;
        token.m_start = i;
        if (line[i] == u'"') {
            size_t end = line.find(u'"', i + 1);
            if (end == std::u16string::npos)
                return 0;
            token.m_text = line.substr(i + 1, end - i - 1);
            token.m_quoted = true;
            i = end + 1;
        } else {
            size_t end = i;
            while (end < line.size() && !IsBlank(line[end]) && line.compare(end, 2, u"//") != 0)
                ++end;
            token.m_text = line.substr(i, end - i);
            i = end;
        }
        tokens.push_back(std::move(token));
    }
    return 1;
}

int KlcParseHex(std::u16string_view text, int maxDigits, uint32_t& value)
{
    if (text.empty() || text.size() > size_t(maxDigits))
        return 0;
    uint32_t result = 0;
    for (char16_t c : text) {
        int digit = HexDigit(c);
        if (digit < 0)
            return 0;
        result = result << 4 | uint32_t(digit);
    }
    value = result;
    return 1;
}

int KlcParseDecimal(std::u16string_view text, uint32_t& value)
{
    if (text.empty() || text.size() > 9)
        return 0;
    uint32_t result = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return 0;
        result = result * 10 + uint32_t(c - u'0');
    }
    value = result;
    return 1;
}

std::string KlcToUtf8(std::u16string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string KlcFromAscii(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

bool KlcEquals(std::u16string_view text, std::string_view word)
{
    if (text.size() != word.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != char16_t(static_cast<unsigned char>(word[i])))
            return false;
    }
    return true;
}
