#include "tools/pack/StringIdList.h"

#include <cctype>
#include <cstdlib>

namespace {

// Words of a line: identifiers and numbers, and every other non-blank character on its own.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (std::isspace(c)) {
            ++i;
        } else if (std::isalnum(c) || c == '_') {
            std::size_t end = i;
            while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_'))
                ++end;
            words.push_back(line.substr(i, end - i));
            i = end;
        } else {
            words.push_back(std::string(1, line[i++]));
        }
    }
    return words;
}

}  // namespace

bool ParseStringIdList(const ByteVector& content, const std::string& file, std::vector<NamedStringId>& out,
                       CDiagnostics& diagnostics)
{
    out.clear();
    const std::string text(content.begin(), content.end());
    std::size_t lineStart = 0;
    for (int number = 1; lineStart < text.size(); ++number) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        const std::vector<std::string> words = Words(text.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        // constexpr StringId <name> = <number> ;
        if (words.size() < 6 || words[0] != "constexpr" || words[1] != "StringId" || words[3] != "=" ||
            words[5] != ";")
            continue;
        const std::string& value = words[4];
        char* end = nullptr;
        const unsigned long long id = std::strtoull(value.c_str(), &end, 0);
        if (!std::isdigit(static_cast<unsigned char>(value[0])) || *end != '\0' || id > 0xFFFFFFFFull) {
            diagnostics.Error(file, number, words[2] + " = " + value + " is not a 32-bit string id");
            continue;
        }
        out.push_back({words[2], static_cast<uint32_t>(id), number});
    }
    if (out.empty()) {
        diagnostics.Error(file, 0, "no string id declarations (constexpr StringId kStrName = N;) found");
        return false;
    }
    return true;
}
