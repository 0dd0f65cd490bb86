#include "tools/pack/Diagnostics.h"

void CDiagnostics::Error(const std::string& file, int line, const std::string& text)
{
    Add(file, line, "error", text);
    ++m_errorCount;
}

void CDiagnostics::Warning(const std::string& file, int line, const std::string& text)
{
    Add(file, line, "warning", text);
}

std::string CDiagnostics::Text() const
{
    std::string all;
    for (const std::string& message : m_messages)
        all += message + "\n";
    return all;
}

void CDiagnostics::Add(const std::string& file, int line, const char* kind, const std::string& text)
{
    std::string message;
    if (!file.empty()) {
        message = file;
        if (line > 0)
            message += ":" + std::to_string(line);
        message += ": ";
    }
    message += kind;
    message += ": " + text;
    m_messages.push_back(message);
}
