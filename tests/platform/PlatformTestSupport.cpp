#include "tests/platform/PlatformTestSupport.h"

#include <algorithm>
#include <cstdlib>

namespace {

void PutWord(std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

} // namespace

CTestInstall::CTestInstall() : CInstallBase(GuardParameters{}) {}

void CTestInstall::SetTexts(const std::vector<TestText>& texts)
{
    std::vector<TestText> sorted = texts;
    std::sort(sorted.begin(), sorted.end(), [](const TestText& a, const TestText& b) { return a.id < b.id; });
    std::vector<unsigned char> entries;
    std::vector<unsigned char> records;
    for (const TestText& text : sorted) {
        PutWord(entries, text.id);
        PutWord(entries, static_cast<uint32_t>(records.size()));
        PutWord(records, static_cast<uint32_t>(text.text.size()));
        for (char16_t unit : text.text) {
            records.push_back(static_cast<unsigned char>(unit));
            records.push_back(static_cast<unsigned char>(unit >> 8));
        }
    }
    entries.insert(entries.end(), records.begin(), records.end());
    auto* buffer = new unsigned char[entries.size()];
    std::copy(entries.begin(), entries.end(), buffer);
    if (!m_defaultStrings.Attach(buffer, static_cast<int32_t>(sorted.size()), static_cast<uint32_t>(entries.size()))) {
        delete[] buffer;
        ADD_FAILURE() << "the test string table was refused";
    }
}

std::string PrefixKind()
{
    const char* kind = std::getenv("WINE_PREFIX_KIND");
    return kind ? kind : "";
}

std::string PrefixName()
{
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        return "";
    std::string path = prefix;
    while (!path.empty() && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool RunsUnderWow64()
{
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return wow64 != FALSE;
}

std::wstring BesideTestProgram(const wchar_t* fileName)
{
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L'\\') + 1) + fileName;
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot write the fixture file";
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool WaitForFile(const std::wstring& path, unsigned timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!FileExists(path)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

long RunAndWait(const std::wstring& commandLine, unsigned timeoutMs)
{
    // Output goes nowhere, so that helper programs do not clutter the test log.
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    std::wstring writable = commandLine;
    long exitCode = -1;
    if (CreateProcessW(nullptr, &writable[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.hProcess, &code))
            exitCode = static_cast<long>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    return exitCode;
}

ScratchFolder::ScratchFolder()
{
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    m_path = std::wstring(temp) + L"platform-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++counter);
    RemoveTree(m_path);
    CreateDirectoryW(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    RemoveTree(m_path);
}
