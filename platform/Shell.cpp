// Shell links, file associations, group membership and the restart of Windows.
#include "embedded/InstallBase.h"
#include "platform/EntryPoint.h"
#include "platform/HandleCloser.h"
#include "text/WideView.h"

#include <objidl.h>
#include <reason.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

constexpr int kAssocRoom = 2048;
// No path, and so no associated program, needs more units than this.
constexpr DWORD kLongestPath = 32768;

// The count that AssocQueryStringW returns includes the terminator, but not every implementation
// sets it (Wine leaves the buffer size there): the text ends at the first zero unit within it.
void SetLengthToText(GString& out, const char16_t* buffer, DWORD count)
{
    int length = 0;
    while (DWORD(length) < count && buffer[length] != 0)
        ++length;
    out.SetLength(length);
}

HRESULT QueryExecutable(const GString& fileType, char16_t* buffer, DWORD& count)
{
    return AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_EXECUTABLE, AsWide(fileType.GetW()), nullptr, AsWide(buffer),
                             &count);
}

} // namespace

int CInstallBase::ShortcutCreate(const char16_t* target, const char16_t* linkFile, const char16_t* description,
                                 const char16_t* iconFile, int iconIndex)
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return 0;
    // The setters' and Save's results are not examined: the link object and its persistence
    // interface existing is what counts as success.
    link->SetPath(AsWide(target));
    link->SetDescription(AsWide(description));
    if (iconFile != nullptr)
        link->SetIconLocation(AsWide(iconFile), iconIndex);
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        link->Release();
        return 0;
    }
    file->Save(AsWide(linkFile), TRUE);
    file->Release();
    link->Release();
    return 1;
}

int CInstallBase::IsAdministrator()
{
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, &sid))
        return 0;
    CSidHandle administrators(sid);
    // Under User Account Control an administrator without elevation holds a filtered token: 0.
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, administrators.Get(), &member))
        return 0;
    return member ? 1 : 0;
}

int CInstallBase::RestartSystem()
{
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken))
        return 0;
    CKernelHandle token(rawToken);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        return 0;
    // Success with ERROR_NOT_ALL_ASSIGNED means the privilege is still off.
    AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    if (GetLastError() != ERROR_SUCCESS)
        return 0;

    wchar_t noMessage[] = L"";
    // Windows 2000 lacks the form that records a reason, so it is looked up by name and the
    // older form is the fallback; an import of it would keep the program from starting there.
    using ShutdownWithReason = BOOL(WINAPI*)(LPWSTR, LPWSTR, DWORD, BOOL, BOOL, DWORD);
    HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
    FARPROC entry = advapi != nullptr ? GetProcAddress(advapi, "InitiateSystemShutdownExW") : nullptr;
    if (entry != nullptr) {
        const DWORD reason =
            SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_OPERATINGSYSTEM | SHTDN_REASON_MINOR_RECONFIG;
        return EntryPointAs<ShutdownWithReason>(entry)(nullptr, noMessage, 0, FALSE, TRUE, reason) ? 1 : 0;
    }
    return InitiateSystemShutdownW(nullptr, noMessage, 0, FALSE, TRUE) ? 1 : 0;
}

int CInstallBase::AssocExecutableGet(uint32_t fileTypeId, GString& out)
{
    out.Clear();
    GString fileType;
    if (!GetString(fileTypeId, fileType))
        return 0;
    char16_t* buffer = out.AppendBufferW(kAssocRoom);
    if (buffer == nullptr)
        return 0;
    buffer[0] = 0;
    DWORD count = kAssocRoom;
    if (FAILED(QueryExecutable(fileType, buffer, count)))
        return 0;
    SetLengthToText(out, buffer, count < DWORD(kAssocRoom) ? count : DWORD(kAssocRoom));
    return 1;
}

int CInstallBase::AssocExecutableContains(uint32_t fileTypeId, uint32_t textId)
{
    GString path;
    DWORD room = kAssocRoom;
    char16_t* buffer = path.AppendBufferW(int(room));
    if (buffer == nullptr)
        return 0;
    buffer[0] = 0;
    GString fileType;
    GetString(fileTypeId, fileType);
    DWORD count = room;
    if (QueryExecutable(fileType, buffer, count) == E_POINTER && count > room && count <= kLongestPath) {
        room = count;
        buffer = path.AppendBufferW(int(room));
        if (buffer == nullptr)
            return 0;
        buffer[0] = 0;
    }
    // Only the second query counts; it never offers more than the room made.
    if (count > room)
        count = room;
    if (FAILED(QueryExecutable(fileType, buffer, count)))
        return 0;
    SetLengthToText(path, buffer, count < room ? count : room);
    if (!path.MakeUpper())
        return 0;
    // The needle is not upper-cased: only a text written in upper case can match.
    if (!GetString(textId, m_text) || m_text.Length() == 0)
        return 0;
    return path.Find(m_text, 0) >= 0 ? 1 : 0;
}

int CInstallBase::AssocRun(uint32_t fileTypeId, uint32_t formatId, const char16_t* argument)
{
    GString executable;
    if (!AssocExecutableGet(fileTypeId, executable))
        return 0;
    return ProcessRun(formatId, executable.GetW(), argument);
}
