// Shell links, group membership, the restart of Windows and file associations.
#include "tests/platform/PlatformTestSupport.h"

#include <objidl.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

enum : uint32_t {
    kIdFileType = 1,
    kIdRunWithArgument,
    kIdViewerUpper,
    kIdViewerFolderUpper,
    kIdViewerMixed,
    kIdViewerLower,
    kIdNotInPath,
    kIdUnregisteredType,
    kIdUnknown = 999,
};

// COM as the program's entry point sets it up: a multithreaded apartment.
class ComTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))); }
    void TearDown() override { CoUninitialize(); }

    CTestInstall m_install;
    ScratchFolder m_folder;
};

struct LinkContents
{
    std::wstring target;
    std::wstring description;
    std::wstring iconFile;
    int iconIndex = -1;
};

LinkContents ReadLink(const std::wstring& linkFile)
{
    LinkContents contents;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        ADD_FAILURE() << "no shell link object";
        return contents;
    }
    IPersistFile* file = nullptr;
    wchar_t text[MAX_PATH] = L"";
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(linkFile.c_str(), STGM_READ))) {
        if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0)))
            contents.target = text;
        if (SUCCEEDED(link->GetDescription(text, MAX_PATH)))
            contents.description = text;
        text[0] = 0;
        if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &contents.iconIndex)))
            contents.iconFile = text;
    } else {
        ADD_FAILURE() << "cannot load the link file";
    }
    if (file)
        file->Release();
    link->Release();
    return contents;
}

using ShellTest = ComTest;

TEST_F(ShellTest, ShortcutReadsBackThroughTheShellLink)
{
    const std::wstring target = m_folder / L"target.exe";
    WriteFileBytes(target, "MZ");
    const std::wstring withIcon = m_folder / L"with icon.lnk";
    EXPECT_EQ(
        m_install.ShortcutCreate(U(target).c_str(), U(withIcon).c_str(), u"Platform test link", U(target).c_str(), 1),
        1);
    ASSERT_TRUE(FileExists(withIcon));
    LinkContents contents = ReadLink(withIcon);
    EXPECT_EQ(_wcsicmp(contents.target.c_str(), target.c_str()), 0) << testing::PrintToString(contents.target);
    EXPECT_EQ(contents.description, L"Platform test link");
    EXPECT_EQ(_wcsicmp(contents.iconFile.c_str(), target.c_str()), 0) << testing::PrintToString(contents.iconFile);
    EXPECT_EQ(contents.iconIndex, 1);

    const std::wstring withoutIcon = m_folder / L"without icon.lnk";
    EXPECT_EQ(m_install.ShortcutCreate(U(target).c_str(), U(withoutIcon).c_str(), u"", nullptr, 5), 1);
    contents = ReadLink(withoutIcon);
    EXPECT_EQ(contents.iconFile, L"");
    EXPECT_EQ(contents.iconIndex, 0);

    // Success means the link object existed; whether the file could be saved is not examined.
    const std::wstring nowhere = m_folder / L"missing\\link.lnk";
    EXPECT_EQ(m_install.ShortcutCreate(U(target).c_str(), U(nowhere).c_str(), u"x", nullptr, 0), 1);
    EXPECT_FALSE(FileExists(nowhere));
}

TEST_F(ShellTest, AdministratorIsWhatTheShellSays)
{
    EXPECT_EQ(m_install.IsAdministrator() != 0, IsUserAnAdmin() != FALSE);
    if (RunningUnderWine()) {
        EXPECT_NE(m_install.IsAdministrator(), 0) << "Wine runs programs as an administrator";
    }
}

bool ShutdownPrivilegeEnabled()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    LUID shutdown;
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &shutdown);
    PRIVILEGE_SET query = {};
    query.PrivilegeCount = 1;
    query.Privilege[0].Luid = shutdown;
    BOOL enabled = FALSE;
    PrivilegeCheck(token, &query, &enabled);
    CloseHandle(token);
    return enabled != FALSE;
}

// Wine's restart request only records the wish, so only there is it safe to ask for one.
TEST_F(ShellTest, RestartEnablesTheShutdownPrivilegeAndAsks)
{
    if (!RunningUnderWine())
        GTEST_SKIP() << "this would restart the machine";
    EXPECT_NE(m_install.RestartSystem(), 0);
    EXPECT_TRUE(ShutdownPrivilegeEnabled());
}

// A file type of its own, whose program lives in a folder with a mixed-case name; the program is
// a copy of the sleeper, so that AssocRun can be seen to start it.
class AssociationTest : public ComTest
{
protected:
    void SetUp() override
    {
        ComTest::SetUp();
        const std::wstring id = std::to_wstring(GetCurrentProcessId());
        m_extension = L".plt" + id;
        m_progId = L"PlatformTest.Document" + id;
        ASSERT_TRUE(CreateDirectoryW((m_folder / L"MixedCase").c_str(), nullptr));
        m_viewer = m_folder / L"MixedCase\\AssocViewer.exe";
        ASSERT_TRUE(CopyFileW(BesideTestProgram(L"platform_sleeper.exe").c_str(), m_viewer.c_str(), FALSE));
        const std::wstring command = L"\"" + m_viewer + L"\" \"%1\"";
        ASSERT_TRUE(SetText(m_extension, m_progId));
        ASSERT_TRUE(SetText(m_progId + L"\\shell\\open\\command", command));
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);

        m_install.SetTexts({{kIdFileType, U(m_extension)},
                            {kIdRunWithArgument, u"\"%s\" %s"},
                            {kIdViewerUpper, u"ASSOCVIEWER"},
                            {kIdViewerFolderUpper, u"MIXEDCASE\\ASSOCVIEWER.EXE"},
                            {kIdViewerMixed, u"AssocViewer"},
                            {kIdViewerLower, u"assocviewer"},
                            {kIdNotInPath, u"NOTTHERE"},
                            {kIdUnregisteredType, u".plt-unregistered"}});
    }

    void TearDown() override
    {
        SHDeleteKeyW(HKEY_CLASSES_ROOT, m_extension.c_str());
        SHDeleteKeyW(HKEY_CLASSES_ROOT, m_progId.c_str());
        ComTest::TearDown();
    }

    static bool SetText(const std::wstring& key, const std::wstring& text)
    {
        return SHSetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

    std::wstring m_extension;
    std::wstring m_progId;
    std::wstring m_viewer;
};

TEST_F(AssociationTest, ExecutableIsThePathAloneWithoutTrailingUnits)
{
    GString path;
    ASSERT_EQ(m_install.AssocExecutableGet(kIdFileType, path), 1);
    EXPECT_EQ(_wcsicmp(Wide(path).c_str(), m_viewer.c_str()), 0) << testing::PrintToString(Wide(path));
    EXPECT_EQ(static_cast<std::size_t>(path.Length()), wcslen(AsWide(path.GetW())));

    path.AssignW(u"left over");
    EXPECT_EQ(m_install.AssocExecutableGet(kIdUnregisteredType, path), 0);
    EXPECT_EQ(m_install.AssocExecutableGet(kIdUnknown, path), 0);
    EXPECT_EQ(path.Length(), 0);
}

TEST_F(AssociationTest, ContainsFindsOnlyUpperCaseTexts)
{
    struct Row
    {
        const char* label;
        uint32_t fileType;
        uint32_t text;
        int expected;
    };
    const Row rows[] = {
        {"upper-case file name", kIdFileType, kIdViewerUpper, 1},
        {"upper-case folder and file name", kIdFileType, kIdViewerFolderUpper, 1},
        {"mixed-case file name", kIdFileType, kIdViewerMixed, 0},
        {"lower-case file name", kIdFileType, kIdViewerLower, 0},
        {"text not in the path", kIdFileType, kIdNotInPath, 0},
        {"unknown text id", kIdFileType, kIdUnknown, 0},
        {"unregistered file type", kIdUnregisteredType, kIdViewerUpper, 0},
        {"unknown file type id", kIdUnknown, kIdViewerUpper, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(m_install.AssocExecutableContains(row.fileType, row.text), row.expected);
    }
}

TEST_F(AssociationTest, RunStartsTheProgramWithItsPathFirstAndTheArgumentAfter)
{
    const std::wstring marker = m_folder / L"assoc";
    const std::wstring argument = L"0 \"" + marker + L"\"";
    EXPECT_EQ(m_install.AssocRun(kIdFileType, kIdRunWithArgument, U(argument).c_str()), 1);
    EXPECT_TRUE(WaitForFile(marker + L".finished", 15000));
    EXPECT_EQ(m_install.AssocRun(kIdUnregisteredType, kIdRunWithArgument, U(argument).c_str()), 0);
}

} // namespace
