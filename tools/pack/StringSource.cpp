#include "tools/pack/StringSource.h"

#include "tools/pack/Utf8.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

constexpr uint32_t kUtf8Flag = 0x80000000u;
constexpr uint32_t kLengthMask = 0x1FFFFFFFu;

void AppendWord(ByteVector& out, uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<unsigned char>(value >> (8 * k)));
}

// Parser of one line; positions are byte offsets into the line, columns count from 1.
class CLineParser {
public:
    CLineParser(const std::string& line, const std::string& file, int number, CDiagnostics& diagnostics)
        : m_line(line), m_file(file), m_number(number), m_diagnostics(diagnostics)
    {
    }

    void SkipBlanks()
    {
        while (m_pos < m_line.size() && (m_line[m_pos] == ' ' || m_line[m_pos] == '\t'))
            ++m_pos;
    }
    bool AtEnd() const { return m_pos >= m_line.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_line[m_pos]; }
    void Advance() { ++m_pos; }

    // True when only blanks and a comment are left.
    bool RestIsEmpty()
    {
        SkipBlanks();
        return AtEnd() || Peek() == '#';
    }

    bool ParseId(uint32_t& id)
    {
        const std::size_t start = m_pos;
        int base = 10;
        if (m_line.compare(m_pos, 2, "0x") == 0 || m_line.compare(m_pos, 2, "0X") == 0) {
            base = 16;
            m_pos += 2;
        }
        const std::size_t digitsStart = m_pos;
        uint64_t value = 0;
        while (!AtEnd() && std::isxdigit(static_cast<unsigned char>(Peek())) &&
               (base == 16 || std::isdigit(static_cast<unsigned char>(Peek())))) {
            const char c = Peek();
            const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
            value = value * base + digit;
            if (value > 0xFFFFFFFFu) {
                Error(start, "string id " + m_line.substr(start, m_pos - start + 1) + "... does not fit 32 bits");
                return false;
            }
            Advance();
        }
        const bool wordEnds = AtEnd() || !(std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_');
        if (m_pos == digitsStart || !wordEnds) {
            Error(start, "expected a string id (a decimal or 0x-prefixed number) at the start of the line");
            return false;
        }
        id = static_cast<uint32_t>(value);
        return true;
    }

    // A quoted text with escapes; appends its characters to text.
    bool ParseQuoted(std::u32string& text)
    {
        const std::size_t open = m_pos;
        if (Peek() != '"') {
            Error(m_pos, "expected a quoted text");
            return false;
        }
        Advance();
        while (!AtEnd() && Peek() != '"') {
            const unsigned char c = static_cast<unsigned char>(Peek());
            if (c == '\\') {
                if (!ParseEscape(text))
                    return false;
                continue;
            }
            if (c < 0x20 && c != '\t') {
                Error(m_pos, "control character in a text; write it as an escape");
                return false;
            }
            const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            std::u32string decoded;
            std::size_t bad = 0;
            DecodeUtf8(m_line.substr(m_pos, length), decoded, bad);
            text += decoded;
            m_pos += length;
        }
        if (AtEnd()) {
            Error(open, "text is not closed: a quote is missing at the end of the line");
            return false;
        }
        Advance();
        return true;
    }

    void Error(std::size_t position, const std::string& text)
    {
        m_diagnostics.Error(m_file, m_number, "column " + std::to_string(position + 1) + ": " + text);
    }

private:
    bool ParseEscape(std::u32string& text)
    {
        const std::size_t start = m_pos;
        Advance();
        const char letter = Peek();
        Advance();
        switch (letter) {
        case 'n': text += U'\n'; return true;
        case 'r': text += U'\r'; return true;
        case 't': text += U'\t'; return true;
        case '\\': text += U'\\'; return true;
        case '"': text += U'"'; return true;
        case 'u':
        case 'U': {
            const std::size_t digits = letter == 'u' ? 4 : 8;
            uint32_t value = 0;
            for (std::size_t k = 0; k < digits; ++k) {
                if (AtEnd() || !std::isxdigit(static_cast<unsigned char>(Peek()))) {
                    Error(start, std::string("\\") + letter + " needs " + std::to_string(digits) + " hexadecimal digits");
                    return false;
                }
                const char c = Peek();
                value = value * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10);
                Advance();
            }
            if (value == 0) {
                Error(start, "a text cannot hold the character U+0000");
                return false;
            }
            if ((value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
                Error(start, "escape " + m_line.substr(start, m_pos - start) +
                                 " is not a character (write characters beyond U+FFFF as \\U000XXXXX)");
                return false;
            }
            text += static_cast<char32_t>(value);
            return true;
        }
        default:
            Error(start, AtEnd() && letter == '\0' ? std::string("a backslash ends the line")
                                                   : "unknown escape \\" + std::string(1, letter) +
                                                         " (known: \\n \\r \\t \\\\ \\\" \\uXXXX \\U00XXXXXX)");
            return false;
        }
    }

    const std::string& m_line;
    const std::string& m_file;
    int m_number;
    CDiagnostics& m_diagnostics;
    std::size_t m_pos = 0;
};

}  // namespace

const StringSourceEntry* StringSource::Find(uint32_t id) const
{
    for (const StringSourceEntry& entry : entries)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

bool ParseStringSource(const ByteVector& content, const std::string& file, StringSource& out,
                       CDiagnostics& diagnostics)
{
    out.file = file;
    out.entries.clear();
    std::string text(content.begin(), content.end());
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);

    std::u32string decoded;
    std::size_t bad = 0;
    if (!DecodeUtf8(text, decoded, bad)) {
        const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + bad, '\n'));
        diagnostics.Error(file, line, "the file is not valid UTF-8");
        return false;
    }

    const int errorsBefore = diagnostics.ErrorCount();
    std::map<uint32_t, int> firstLine;
    StringSourceEntry* current = nullptr;
    // After an entry with an error its continuation lines are skipped without further messages.
    bool skipContinuation = false;
    std::size_t lineStart = 0;
    for (int number = 1; lineStart <= text.size(); ++number) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();

        CLineParser parser(line, file, number, diagnostics);
        if (parser.RestIsEmpty())
            continue;
        if (parser.Peek() == '"') {
            if (current == nullptr) {
                if (!skipContinuation)
                    parser.Error(0, "a continued text must follow a line with a string id");
                continue;
            }
            if (parser.ParseQuoted(current->text) && !parser.RestIsEmpty())
                parser.Error(0, "only a comment may follow the text");
            continue;
        }

        current = nullptr;
        skipContinuation = true;
        uint32_t id = 0;
        if (!parser.ParseId(id))
            continue;
        parser.SkipBlanks();
        if (parser.Peek() != '=') {
            parser.Error(0, "expected '=' after the string id");
            continue;
        }
        parser.Advance();
        parser.SkipBlanks();
        StringSourceEntry entry{id, {}, number};
        if (!parser.ParseQuoted(entry.text))
            continue;
        if (!parser.RestIsEmpty()) {
            parser.Error(0, "only a comment may follow the text");
            continue;
        }
        const auto [place, isNew] = firstLine.emplace(id, number);
        if (!isNew) {
            diagnostics.Error(file, number,
                              "duplicate string id " + std::to_string(id) + " (first defined on line " +
                                  std::to_string(place->second) + ")");
            continue;
        }
        out.entries.push_back(entry);
        current = &out.entries.back();
        skipContinuation = false;
    }
    return diagnostics.ErrorCount() == errorsBefore;
}

ByteVector EncodeRecord(const std::u32string& text)
{
    std::string utf8;
    std::u16string utf16;
    bool beyondBmp = false;
    for (char32_t c : text) {
        AppendUtf8(utf8, c);
        AppendUtf16(utf16, c);
        beyondBmp = beyondBmp || c > 0xFFFF;
    }
    ByteVector record;
    if (!beyondBmp && utf8.size() < 2 * utf16.size()) {
        AppendWord(record, kUtf8Flag | (static_cast<uint32_t>(utf8.size()) & kLengthMask));
        record.insert(record.end(), utf8.begin(), utf8.end());
    } else {
        AppendWord(record, static_cast<uint32_t>(utf16.size()) & kLengthMask);
        for (char16_t unit : utf16) {
            record.push_back(static_cast<unsigned char>(unit));
            record.push_back(static_cast<unsigned char>(unit >> 8));
        }
    }
    return record;
}

ByteVector BuildStringTable(const std::vector<StringSourceEntry>& entries)
{
    std::vector<const StringSourceEntry*> sorted;
    for (const StringSourceEntry& entry : entries)
        sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(),
              [](const StringSourceEntry* a, const StringSourceEntry* b) { return a->id < b->id; });

    ByteVector index;
    ByteVector texts;
    std::map<ByteVector, uint32_t> offsets;
    for (const StringSourceEntry* entry : sorted) {
        const ByteVector record = EncodeRecord(entry->text);
        const auto [place, isNew] = offsets.emplace(record, static_cast<uint32_t>(texts.size()));
        if (isNew)
            texts.insert(texts.end(), record.begin(), record.end());
        AppendWord(index, entry->id);
        AppendWord(index, place->second);
    }
    index.insert(index.end(), texts.begin(), texts.end());
    return index;
}
