// Helper program of the process tests: creates MARKER.started, sleeps, then creates
// MARKER.finished, so that a test can tell whether and how long the program ran.
//   platform_sleeper MILLISECONDS MARKER
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

void Touch(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring marker = argv[2];
    Touch(marker + L".started");
    Sleep(static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)));
    Touch(marker + L".finished");
    return 0;
}
