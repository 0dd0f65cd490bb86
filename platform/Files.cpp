// File, folder and temporary-file wrappers of CInstallBase. Paths are UTF-16; results are 1/0 or a
// handle that is null on failure.
#include "embedded/InstallBase.h"
#include "text/WideView.h"

#include <shlobj.h>

namespace {

constexpr int kSpecialFolderRoom = 261;
constexpr int kTempFileNameRoom = 261;
constexpr int kTempFolderRoom = 772;

} // namespace

HANDLE CInstallBase::FileCreateNew(const char16_t* path)
{
    HANDLE file = CreateFileW(AsWide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

int CInstallBase::FileWriteBytes(HANDLE file, const void* data, uint32_t size)
{
    if (file == nullptr || data == nullptr || size == 0)
        return 0;
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size ? 1 : 0;
}

int CInstallBase::FileWriteText(HANDLE file, GString& text)
{
    if (file == nullptr || text.Length() == 0)
        return 0;
    const char* bytes = text.ToUtf8();
    if (bytes == nullptr)
        return 0;
    return FileWriteBytes(file, bytes, uint32_t(text.Length()));
}

int CInstallBase::FileRemove(const char16_t* path)
{
    if (path == nullptr || *path == 0)
        return 0;
    if (DeleteFileW(AsWide(path)))
        return 1;
    if (GetLastError() == ERROR_FILE_NOT_FOUND)
        return 1;
    // In use (a loaded layout library, for one): deleted when Windows next starts.
    return MoveFileExW(AsWide(path), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? 1 : 0;
}

int CInstallBase::FileRemove(GString& path)
{
    if (path.Length() == 0)
        return 0;
    const char16_t* text = path.ToWide();
    return text != nullptr ? FileRemove(text) : 0;
}

int CInstallBase::FolderCreate(const char16_t* path)
{
    if (CreateDirectoryW(AsWide(path), nullptr))
        return 1;
    return GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0;
}

int CInstallBase::FolderRemove(GString& path)
{
    if (path.Length() == 0)
        return 0;
    const char16_t* text = path.ToWide();
    return text != nullptr && RemoveDirectoryW(AsWide(text)) ? 1 : 0;
}

int CInstallBase::SpecialFolderGet(int csidl, GString& out)
{
    out.Clear();
    char16_t* buffer = out.AppendBufferW(kSpecialFolderRoom);
    if (buffer == nullptr)
        return 0;
    buffer[0] = 0;
    if (!SHGetSpecialFolderPathW(GetOwnerWindow(), AsWide(buffer), csidl, FALSE))
        return 0;
    out.SetLength(-1);
    return 1;
}

int CInstallBase::TempFolderGet(GString& out)
{
    out.Clear();
    char16_t* buffer = out.AppendBufferW(kTempFolderRoom);
    if (buffer == nullptr)
        return 0;
    DWORD length = GetTempPathW(kTempFolderRoom - 1, AsWide(buffer));
    if (length == 0 || length >= DWORD(kTempFolderRoom))
        return 0;
    out.SetLength(int(length));
    return 1;
}

int CInstallBase::TempFileNameGet(GString& out, uint32_t prefixId, const char16_t* folder)
{
    if (prefixId == 0)
        return 0;
    char16_t* buffer = out.AppendBufferW(kTempFileNameRoom);
    if (buffer == nullptr)
        return 0;
    buffer[0] = 0;
    GString prefix;
    GetString(prefixId, prefix);
    GString tempFolder;
    if (folder == nullptr) {
        if (!TempFolderGet(tempFolder))
            return 0;
        folder = tempFolder.GetW();
    }
    // Unique number 0: the system picks the name and creates the empty file, reserving it.
    if (GetTempFileNameW(AsWide(folder), AsWide(prefix.ToWide()), 0, AsWide(buffer)) == 0)
        return 0;
    out.SetLength(-1);
    return 1;
}
