// Starting programs from command-line templates, and libraries and entry points named by id.
#include "embedded/InstallBase.h"
#include "platform/HandleCloser.h"
#include "text/WideView.h"

#include <cstdarg>

namespace {

constexpr DWORD kProcessWaitMs = 1000;

bool IsBlank(char16_t unit)
{
    return unit == u' ' || unit == u'\t';
}

// CreateProcessW without an application name looks for a bare program name in the program's own
// folder first, so a copy of a system program planted beside a downloaded setup program would run
// with its rights. A bare name is therefore given the system folder. The program part is read as
// CreateProcessW reads it: quoted, up to the closing quote; else up to the first blank.
// Returns 0 when the command cannot be made safe.
int QualifyBareProgram(const GString& command, GString& result)
{
    const char16_t* text = command.GetW();
    const int length = command.Length();
    int start = 0;
    while (start < length && IsBlank(text[start]))
        ++start;
    const bool quoted = start < length && text[start] == u'"';
    const int nameStart = quoted ? start + 1 : start;
    int nameEnd = nameStart;
    while (nameEnd < length && (quoted ? text[nameEnd] != u'"' : !IsBlank(text[nameEnd])))
        ++nameEnd;
    bool bare = nameEnd > nameStart;
    for (int i = nameStart; i < nameEnd && bare; ++i)
        bare = text[i] != u'\\' && text[i] != u'/' && text[i] != u':';
    if (!bare) {
        result.Assign(command);
        return result.Length() == length ? 1 : 0;
    }
    const int restStart = quoted && nameEnd < length ? nameEnd + 1 : nameEnd;
    wchar_t folder[MAX_PATH + 1];
    const UINT folderLength = GetSystemDirectoryW(folder, MAX_PATH + 1);
    if (folderLength == 0 || folderLength > MAX_PATH)
        return 0;
    return result.AssignW(u"\"", 1) && result.AppendW(AsChar16(folder), int(folderLength)) &&
           result.AppendPath(text + nameStart, nameEnd - nameStart) && result.AppendCharW(u'"', 1) &&
           result.AppendW(text + restStart, length - restStart);
}

} // namespace

int CInstallBase::ProcessRun(uint32_t formatId, ...)
{
    if (formatId == 0)
        return 0;
    GetString(formatId, m_text);
    GString command;
    command.AssignW(nullptr, 0);
    va_list args;
    va_start(args, formatId);
    const int formatted = command.AppendFormatV(m_text.GetW(), args);
    va_end(args);
    // A command line cut short by a failed conversion is not started.
    GString commandLine;
    if (!formatted || command.Length() == 0 || !QualifyBareProgram(command, commandLine))
        return 1;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    // CreateProcessW may write into the command line; the text is the string's own block.
    wchar_t* writable = AsWide(const_cast<char16_t*>(commandLine.GetW()));
    if (CreateProcessW(nullptr, writable, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        CKernelHandle process(started.hProcess);
        CKernelHandle thread(started.hThread);
        // The installer goes on after at most a second, whether or not the program has ended.
        WaitForSingleObject(process.Get(), kProcessWaitMs);
    }
    return 1;
}

HMODULE CInstallBase::LibraryLoad(uint32_t libraryId)
{
    if (!GetString(libraryId, m_text) || m_text.Length() == 0)
        return nullptr;
    return LoadLibraryW(AsWide(m_text.GetW()));
}

FARPROC CInstallBase::ProcAddressGet(uint32_t entryId, uint32_t libraryId, HMODULE& module)
{
    if (module == nullptr) {
        module = LibraryLoad(libraryId);
        if (module == nullptr)
            return nullptr;
    }
    if (!GetString(entryId, m_text) || m_text.Length() == 0)
        return nullptr;
    const char* name = m_text.ToUtf8();
    return name != nullptr ? GetProcAddress(module, name) : nullptr;
}
