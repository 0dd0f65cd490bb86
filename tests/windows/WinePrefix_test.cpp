// Proves what each kind of test prefix shows a program: a 32-bit Windows (win32) or a 64-bit
// Windows (win64), where a 32-bit program runs under WoW64 with its own system folder and
// registry view. scripts/wine-run names the prefix kind in WINE_PREFIX_KIND.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string PrefixKind()
{
    const char* kind = std::getenv("WINE_PREFIX_KIND");
    return kind ? kind : "";
}

bool RunsUnderWow64()
{
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return wow64 != FALSE;
}

bool FolderExists(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(WinePrefix, ProcessorArchitectureMatchesThePrefixKind)
{
    SYSTEM_INFO info = {};
    GetNativeSystemInfo(&info);
    const std::string kind = PrefixKind();
    ASSERT_TRUE(kind == "win32" || kind == "win64") << "unknown prefix kind '" << kind << "'";
    if (kind == "win32") {
        EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_INTEL);
        EXPECT_FALSE(RunsUnderWow64());
    } else {
        EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64);
        EXPECT_EQ(RunsUnderWow64(), sizeof(void*) == 4);
    }
}

TEST(WinePrefix, SystemFoldersMatchThePrefixKind)
{
    wchar_t windows[MAX_PATH];
    ASSERT_GT(GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring root = windows;
    EXPECT_TRUE(FolderExists((root + L"\\system32").c_str()));
    EXPECT_EQ(FolderExists((root + L"\\syswow64").c_str()), PrefixKind() == "win64");
}

TEST(WinePrefix, SixtyFourBitRegistryViewIsReachableOnlyOn64BitWindows)
{
    if (PrefixKind() != "win64") {
        GTEST_SKIP() << "a 32-bit Windows has one registry view";
    }
    // The 32-bit view of HKLM\Software lives under Wow6432Node; the 64-bit view does not have
    // that key inside itself when reached through the 32-bit view.
    HKEY key = nullptr;
    LONG opened64 = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node", 0, KEY_READ | KEY_WOW64_64KEY, &key);
    EXPECT_EQ(opened64, ERROR_SUCCESS);
    if (key) {
        RegCloseKey(key);
    }
}

}  // namespace
