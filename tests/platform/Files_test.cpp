// The file, folder and temporary-file wrappers, each test in a scratch folder of its own.
#include "tests/platform/PlatformTestSupport.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

enum : uint32_t {
    kIdTempPrefix = 1,
};

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingRenames[] = L"PendingFileRenameOperations";

using Rename = std::pair<std::wstring, std::wstring>;

// The (source, destination) pairs recorded for the next start of Windows; an empty destination
// means deletion.
std::vector<Rename> PendingRenames()
{
    std::vector<Rename> pairs;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return pairs;
    DWORD bytes = 0;
    std::wstring data;
    if (RegQueryValueExW(key, kPendingRenames, nullptr, nullptr, nullptr, &bytes) == ERROR_SUCCESS) {
        data.resize(bytes / 2 + 1);
        RegQueryValueExW(key, kPendingRenames, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &bytes);
        data.resize(bytes / 2);
    }
    RegCloseKey(key);
    std::size_t position = 0;
    auto next = [&]() {
        const std::size_t end = std::min(data.find(L'\0', position), data.size());
        std::wstring item = data.substr(position, end - position);
        position = end + 1;
        return item;
    };
    while (position < data.size()) {
        std::wstring source = next();
        if (source.empty())
            break;
        pairs.emplace_back(source, next());
    }
    return pairs;
}

// Sources are recorded as NT paths (\??\C:\...).
bool IsSource(const Rename& rename, const std::wstring& path)
{
    const std::wstring& source = rename.first;
    return source.size() >= path.size() && _wcsicmp(source.c_str() + source.size() - path.size(), path.c_str()) == 0;
}

bool DeletionPending(const std::wstring& path)
{
    for (const Rename& rename : PendingRenames()) {
        if (rename.second.empty() && IsSource(rename, path))
            return true;
    }
    return false;
}

// Takes back what a test recorded, so that no later restart of the prefix acts on it.
void ForgetPendingRenames(const std::wstring& path)
{
    std::wstring data;
    for (const Rename& rename : PendingRenames()) {
        if (!IsSource(rename, path))
            data += rename.first + L'\0' + rename.second + L'\0';
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    if (data.empty()) {
        RegDeleteValueW(key, kPendingRenames);
    } else {
        data += L'\0';
        RegSetValueExW(key, kPendingRenames, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    }
    RegCloseKey(key);
}

class FilesTest : public ::testing::Test
{
protected:
    void SetUp() override { m_install.SetTexts({{kIdTempPrefix, u"plt"}}); }

    void RemoveWhileInUse(const std::wstring& path)
    {
        WriteFileBytes(path, "in use");
        HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_NE(m_install.FileRemove(U(path).c_str()), 0);
        CloseHandle(holder);
        EXPECT_TRUE(FileExists(path));
        EXPECT_TRUE(DeletionPending(path));
    }

    CTestInstall m_install;
    ScratchFolder m_folder;
};

TEST_F(FilesTest, NewFileIsTruncatedAndTakesExactlyTheBytesWritten)
{
    const std::wstring path = m_folder / L"out.bin";
    WriteFileBytes(path, "earlier content");
    HANDLE file = m_install.FileCreateNew(U(path).c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);

    const unsigned char bytes[] = {0x00, 0x80, 0xFF};
    EXPECT_EQ(m_install.FileWriteBytes(file, bytes, sizeof bytes), 1);
    GString text;
    text.AssignW(u"\u00E9\u20AC\r\n");
    EXPECT_EQ(m_install.FileWriteText(file, text), 1);
    EXPECT_FALSE(text.IsWide());
    CloseHandle(file);
    // UTF-8 without byte-order mark or terminator.
    EXPECT_EQ(ReadFileBytes(path), std::string("\x00\x80\xFF\xC3\xA9\xE2\x82\xAC\r\n", 10));
}

TEST_F(FilesTest, WritesOfNothingAndBadHandlesAreRefused)
{
    const std::wstring path = m_folder / L"empty.bin";
    HANDLE file = m_install.FileCreateNew(U(path).c_str());
    ASSERT_NE(file, nullptr);
    const unsigned char byte = 'x';
    GString empty;
    EXPECT_EQ(m_install.FileWriteBytes(file, &byte, 0), 0);
    EXPECT_EQ(m_install.FileWriteBytes(file, nullptr, 1), 0);
    EXPECT_EQ(m_install.FileWriteBytes(nullptr, &byte, 1), 0);
    EXPECT_EQ(m_install.FileWriteText(file, empty), 0);
    CloseHandle(file);
    EXPECT_EQ(ReadFileBytes(path), "");

    // Failure is null, never INVALID_HANDLE_VALUE.
    EXPECT_EQ(m_install.FileCreateNew(U(m_folder / L"missing\\out.bin").c_str()), nullptr);
}

TEST_F(FilesTest, RemoveDeletesAndTakesAMissingFileAsRemoved)
{
    const auto pendingBefore = PendingRenames();
    const std::wstring path = m_folder / L"gone.txt";
    WriteFileBytes(path, "x");
    GString eightBitPath;
    eightBitPath.AssignW(U(path).c_str());
    eightBitPath.ToUtf8();
    EXPECT_EQ(m_install.FileRemove(eightBitPath), 1);
    EXPECT_FALSE(FileExists(path));

    EXPECT_EQ(m_install.FileRemove(U(path).c_str()), 1);
    EXPECT_EQ(PendingRenames(), pendingBefore);

    GString empty;
    EXPECT_EQ(m_install.FileRemove(empty), 0);
    EXPECT_EQ(m_install.FileRemove(static_cast<const char16_t*>(nullptr)), 0);
    EXPECT_EQ(m_install.FileRemove(u""), 0);
}

// A file held open without delete sharing cannot be deleted now: it is recorded for deletion at
// the next start of Windows.
TEST_F(FilesTest, RemoveOfAFileInUseIsLeftToTheNextStart)
{
    const std::wstring path = m_folder / L"in-use.txt";
    RemoveWhileInUse(path);
    ForgetPendingRenames(path);
}

// `wineboot -r` restarts the prefix the way a start of Windows would carry out pending renames. It
// acts for every program of the prefix, so it runs only from a test that ctest runs on its own,
// which sets PLATFORM_TEST_RESTART.
TEST_F(FilesTest, RemovalLeftToTheNextStartHappensThen)
{
    if (!RunningUnderWine() || !std::getenv("PLATFORM_TEST_RESTART"))
        GTEST_SKIP() << "restarts only under Wine, from the serial restart test";
    const std::wstring path = m_folder / L"in-use.txt";
    RemoveWhileInUse(path);
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(RunAndWait(L"\"" + std::wstring(system) + L"\\wineboot.exe\" -r", 120000), 0);
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(DeletionPending(path));
    ForgetPendingRenames(path);
}

TEST_F(FilesTest, FoldersAreCreatedOneLevelAndRemovedOnlyWhenEmpty)
{
    const std::wstring folder = m_folder / L"level";
    EXPECT_EQ(m_install.FolderCreate(U(folder).c_str()), 1);
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_EQ(m_install.FolderCreate(U(folder).c_str()), 1);
    EXPECT_EQ(m_install.FolderCreate(U(m_folder / L"missing\\level").c_str()), 0);
    EXPECT_FALSE(FolderExists(m_folder / L"missing"));

    WriteFileBytes(folder + L"\\file.txt", "x");
    GString path;
    path.AssignW(U(folder).c_str());
    EXPECT_EQ(m_install.FolderRemove(path), 0);
    EXPECT_TRUE(FolderExists(folder));
    DeleteFileW((folder + L"\\file.txt").c_str());
    EXPECT_EQ(m_install.FolderRemove(path), 1);
    EXPECT_FALSE(FolderExists(folder));
    GString empty;
    EXPECT_EQ(m_install.FolderRemove(empty), 0);
}

TEST_F(FilesTest, TempFolderIsTheSystemsWithItsBackslash)
{
    GString folder;
    ASSERT_EQ(m_install.TempFolderGet(folder), 1);
    wchar_t expected[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, expected);
    EXPECT_EQ(Wide(folder), expected);
    EXPECT_EQ(Wide(folder).back(), L'\\');

    wchar_t saved[MAX_PATH + 1];
    const DWORD savedLength = GetEnvironmentVariableW(L"TMP", saved, MAX_PATH + 1);
    const std::wstring tooLong = L"C:\\" + std::wstring(800, L'x');
    SetEnvironmentVariableW(L"TMP", tooLong.c_str());
    EXPECT_EQ(m_install.TempFolderGet(folder), 0);
    SetEnvironmentVariableW(L"TMP", savedLength ? saved : nullptr);
}

TEST_F(FilesTest, TempFileNameReservesAnEmptyFileWithThePrefix)
{
    GString name;
    EXPECT_EQ(m_install.TempFileNameGet(name, 0, U(m_folder.Path()).c_str()), 0);
    EXPECT_EQ(name.Length(), 0);

    ASSERT_EQ(m_install.TempFileNameGet(name, kIdTempPrefix, U(m_folder.Path()).c_str()), 1);
    const std::wstring path = Wide(name);
    EXPECT_EQ(path.rfind(m_folder / L"plt", 0), 0u) << "path " << testing::PrintToString(path);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadFileBytes(path), "");
    GString second;
    ASSERT_EQ(m_install.TempFileNameGet(second, kIdTempPrefix, U(m_folder.Path()).c_str()), 1);
    EXPECT_NE(Wide(second), path);

    GString inTemp;
    ASSERT_EQ(m_install.TempFileNameGet(inTemp, kIdTempPrefix, nullptr), 1);
    GString tempFolder;
    ASSERT_EQ(m_install.TempFolderGet(tempFolder), 1);
    EXPECT_EQ(Wide(inTemp).rfind(Wide(tempFolder) + L"plt", 0), 0u);
    EXPECT_TRUE(FileExists(Wide(inTemp)));
    DeleteFileW(Wide(inTemp).c_str());
}

TEST_F(FilesTest, SpecialFoldersAreTheShellsAndExist)
{
    const int folders[] = {CSIDL_DESKTOP, CSIDL_PERSONAL,     CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY,
                           CSIDL_SYSTEM,  CSIDL_PROGRAM_FILES};
    for (int csidl : folders) {
        SCOPED_TRACE(testing::Message() << "CSIDL " << csidl);
        GString folder;
        folder.AssignW(u"left over");
        ASSERT_EQ(m_install.SpecialFolderGet(csidl, folder), 1);
        wchar_t expected[MAX_PATH] = L"";
        SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, expected);
        EXPECT_EQ(Wide(folder), expected);
        EXPECT_EQ(folder.Length(), static_cast<int>(wcslen(expected)));
        EXPECT_TRUE(FolderExists(Wide(folder)));
    }
    GString system;
    ASSERT_EQ(m_install.SpecialFolderGet(CSIDL_SYSTEM, system), 1);
    wchar_t expected[MAX_PATH];
    GetSystemDirectoryW(expected, MAX_PATH);
    EXPECT_EQ(_wcsicmp(Wide(system).c_str(), expected), 0);

    GString unknown;
    EXPECT_EQ(m_install.SpecialFolderGet(0x7F, unknown), 0);
    EXPECT_EQ(unknown.Length(), 0);
}

} // namespace
