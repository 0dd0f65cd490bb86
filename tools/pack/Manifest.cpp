#include "tools/pack/Manifest.h"

#include "tools/pack/FileIo.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

namespace {

const char* const kTableNames[kTableCount] = {"default", "installer", "language0", "language1"};
const char* const kFileKindNames[kFileCount] = {"shared-document", "product-document", "page-file"};

// Splits a line into words; a word may be quoted to hold blanks; '#' outside quotes ends the line.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error)
{
    std::size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        if (line[i] == '#')
            break;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string::npos) {
                error = "a quoted path is not closed";
                return false;
            }
            words.push_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        std::size_t end = i;
        while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end])))
            ++end;
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return true;
}

bool ParseNumber(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return false;
    value = std::atoi(text.c_str());
    return true;
}

// Parses a selector into the chosen indices below count; an empty result with an error on failure.
std::vector<int> ParseSelector(const std::string& text, int count, const char* what, std::string& error)
{
    std::vector<int> chosen;
    if (text == "*") {
        for (int i = 0; i < count; ++i)
            chosen.push_back(i);
        return chosen;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        const std::string item = text.substr(start, comma - start);
        const std::size_t dash = item.find('-');
        int first = 0;
        int last = 0;
        const bool ok = dash == std::string::npos
                            ? ParseNumber(item, first) && ParseNumber(item, last)
                            : ParseNumber(item.substr(0, dash), first) && ParseNumber(item.substr(dash + 1), last);
        if (!ok || first > last || last >= count) {
            error = std::string("bad ") + what + " selector '" + text + "' (use *, a number, a-b or a list; " + what +
                    "s are 0 to " + std::to_string(count - 1) + ")";
            return {};
        }
        for (int i = first; i <= last; ++i)
            chosen.push_back(i);
        start = comma + 1;
    }
    return chosen;
}

int IndexOf(const char* const* names, int count, const std::string& word)
{
    for (int i = 0; i < count; ++i)
        if (word == names[i])
            return i;
    return -1;
}

std::string Choices(const char* const* names, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? ", " : "") + std::string(names[i]);
    return text;
}

class CManifestParser {
public:
    CManifestParser(const std::string& file, const ManifestDefines& defines, Manifest& out, CDiagnostics& diagnostics)
        : m_file(file), m_defines(defines), m_out(out), m_diagnostics(diagnostics)
    {
    }

    void Line(int number, const std::vector<std::string>& words)
    {
        m_line = number;
        const std::string& directive = words[0];
        if (directive == "key-seed") {
            if (Expect(words, 2, "key-seed <hex digits>")) {
                if (m_out.keySeedLine != 0)
                    Duplicate("key-seed", m_out.keySeedLine);
                else
                    m_out.keySeed = words[1], m_out.keySeedLine = number;
            }
        } else if (directive == "string-ids") {
            if (Expect(words, 2, "string-ids <path>"))
                Assign(m_out.stringIds, words[1], "string-ids");
        } else if (directive == "strings") {
            if (Expect(words, 3, "strings <table> <path>"))
                Strings(words);
        } else if (directive == "licence") {
            static const char* const kLanguages[kUiLanguages] = {"0", "1"};
            if (Expect(words, 3, "licence <0|1> <path>"))
                Named(m_out.licences, kLanguages, kUiLanguages, words, "licence language");
        } else if (directive == "file") {
            if (Expect(words, 3, "file <kind> <path>"))
                Named(m_out.files, kFileKindNames, kFileCount, words, "file kind");
        } else if (directive == "library") {
            if (Expect(words, 5, "library <sets> <variants> <slots> <path|empty>"))
                Library(words);
        } else {
            Error("unknown directive '" + directive +
                  "' (known: key-seed, string-ids, strings, licence, file, library)");
        }
    }

    void Finish()
    {
        m_line = 0;
        if (m_out.keySeedLine == 0)
            Error("no key-seed directive");
        if (!m_out.stringIds.IsGiven())
            Error("no string-ids directive");
        for (int i = 0; i < kTableCount; ++i)
            if (!m_out.tables[i].IsGiven())
                Error(std::string("no 'strings ") + kTableNames[i] + "' directive");
        for (int i = 0; i < kUiLanguages; ++i)
            if (!m_out.licences[i].IsGiven())
                Error("no 'licence " + std::to_string(i) + "' directive");
        for (int i = 0; i < kFileCount; ++i)
            if (!m_out.files[i].IsGiven())
                Error(std::string("no 'file ") + kFileKindNames[i] + "' directive");
        std::string missing;
        int missingCount = 0;
        for (int set = 0; set < kLayoutSets; ++set)
            for (int variant = 0; variant < kLayoutVariants; ++variant)
                for (int slot = 0; slot < kLayoutSlots; ++slot)
                    if (!m_out.libraries[set][variant][slot].IsGiven()) {
                        missing += (missingCount++ ? ", " : "") + std::to_string(set) + " " +
                                   std::to_string(variant) + " " + std::to_string(slot);
                    }
        if (missingCount != 0)
            Error(std::to_string(missingCount) + " library slots have no entry (set variant slot): " + missing);
    }

    void Error(const std::string& text) { m_diagnostics.Error(m_file, m_line, text); }

private:
    bool Expect(const std::vector<std::string>& words, std::size_t count, const char* usage)
    {
        if (words.size() == count)
            return true;
        Error(std::string("expected: ") + usage);
        return false;
    }

    void Duplicate(const std::string& what, int firstLine)
    {
        Error(what + " is given twice (first on line " + std::to_string(firstLine) + ")");
    }

    // The path with every ${NAME} replaced and taken relative to the manifest; false (reported)
    // for an unknown or unclosed ${.
    bool ExpandPath(const std::string& path, std::string& out)
    {
        std::string expanded;
        std::size_t i = 0;
        while (i < path.size()) {
            const std::size_t open = path.find("${", i);
            if (open == std::string::npos) {
                expanded += path.substr(i);
                break;
            }
            const std::size_t close = path.find('}', open);
            if (close == std::string::npos) {
                Error("'${' without '}' in '" + path + "'");
                return false;
            }
            const std::string name = path.substr(open + 2, close - open - 2);
            const auto value = m_defines.find(name);
            if (value == m_defines.end()) {
                Error("unknown variable ${" + name + "} (give it with --define " + name + "=VALUE)");
                return false;
            }
            expanded += path.substr(i, open - i) + value->second;
            i = close + 1;
        }
        out = ResolvePath(m_file, expanded);
        return true;
    }

    void Assign(ManifestInput& input, const std::string& path, const std::string& what)
    {
        if (input.IsGiven()) {
            Duplicate(what, input.line);
            return;
        }
        if (ExpandPath(path, input.path))
            input.line = m_line;
    }

    void Named(ManifestInput* inputs, const char* const* names, int count, const std::vector<std::string>& words,
               const char* what)
    {
        const int index = IndexOf(names, count, words[1]);
        if (index < 0) {
            Error(std::string("unknown ") + what + " '" + words[1] + "' (known: " + Choices(names, count) + ")");
            return;
        }
        Assign(inputs[index], words[2], words[0] + " " + words[1]);
    }

    // The first directive of a table gives its source; each further one adds a part to it.
    void Strings(const std::vector<std::string>& words)
    {
        const int index = IndexOf(kTableNames, kTableCount, words[1]);
        if (index < 0 || !m_out.tables[index].IsGiven()) {
            Named(m_out.tables, kTableNames, kTableCount, words, "table");
            return;
        }
        ManifestInput part;
        if (ExpandPath(words[2], part.path)) {
            part.line = m_line;
            m_out.tableParts[index].push_back(part);
        }
    }

    void Library(const std::vector<std::string>& words)
    {
        std::string error;
        const std::vector<int> sets = ParseSelector(words[1], kLayoutSets, "set", error);
        const std::vector<int> variants =
            error.empty() ? ParseSelector(words[2], kLayoutVariants, "variant", error) : std::vector<int>{};
        const std::vector<int> slots =
            error.empty() ? ParseSelector(words[3], kLayoutSlots, "slot", error) : std::vector<int>{};
        if (!error.empty()) {
            Error(error);
            return;
        }
        const bool empty = words[4] == "empty";
        std::string path;
        if (!empty && !ExpandPath(words[4], path))
            return;
        for (int set : sets)
            for (int variant : variants)
                for (int slot : slots) {
                    ManifestInput& input = m_out.libraries[set][variant][slot];
                    if (input.IsGiven()) {
                        Duplicate("library slot " + std::to_string(set) + " " + std::to_string(variant) + " " +
                                      std::to_string(slot),
                                  input.line);
                        continue;
                    }
                    input.path = path;
                    input.line = m_line;
                }
    }

    const std::string& m_file;
    const ManifestDefines& m_defines;
    Manifest& m_out;
    CDiagnostics& m_diagnostics;
    int m_line = 0;
};

}  // namespace

const char* TableName(int table) { return kTableNames[table]; }

const char* FileKindName(int kind) { return kFileKindNames[kind]; }

std::vector<std::string> Manifest::InputPaths() const
{
    std::vector<std::string> paths;
    std::set<std::string> seen;
    auto add = [&](const ManifestInput& input) {
        if (!input.path.empty() && seen.insert(input.path).second)
            paths.push_back(input.path);
    };
    add(stringIds);
    for (const ManifestInput& input : tables)
        add(input);
    for (const auto& parts : tableParts)
        for (const ManifestInput& input : parts)
            add(input);
    for (const ManifestInput& input : licences)
        add(input);
    for (const ManifestInput& input : files)
        add(input);
    for (const auto& set : libraries)
        for (const auto& variant : set)
            for (const ManifestInput& input : variant)
                add(input);
    return paths;
}

bool ParseManifest(const ByteVector& content, const std::string& file, const ManifestDefines& defines,
                   Manifest& out, CDiagnostics& diagnostics)
{
    out = Manifest{};
    out.file = file;
    const int errorsBefore = diagnostics.ErrorCount();
    CManifestParser parser(file, defines, out, diagnostics);
    const std::string text(content.begin(), content.end());
    std::size_t lineStart = 0;
    for (int number = 1; lineStart < text.size(); ++number) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        const std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        std::vector<std::string> words;
        std::string error;
        if (!SplitWords(line, words, error)) {
            diagnostics.Error(file, number, error);
            continue;
        }
        if (!words.empty())
            parser.Line(number, words);
    }
    parser.Finish();
    return diagnostics.ErrorCount() == errorsBefore;
}
