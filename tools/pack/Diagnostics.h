#pragma once
// Error and warning messages of the packing tool, in the compiler's "file:line: error: text" form
// so that editors can jump to the place.

#include <string>
#include <vector>

class CDiagnostics {
public:
    // line 0 leaves out the line, an empty file the whole place.
    void Error(const std::string& file, int line, const std::string& text);
    void Warning(const std::string& file, int line, const std::string& text);

    bool HasErrors() const { return m_errorCount != 0; }
    int ErrorCount() const { return m_errorCount; }
    const std::vector<std::string>& Messages() const { return m_messages; }
    // All messages as one text, one per line.
    std::string Text() const;

private:
    void Add(const std::string& file, int line, const char* kind, const std::string& text);

    std::vector<std::string> m_messages;
    int m_errorCount = 0;
};
