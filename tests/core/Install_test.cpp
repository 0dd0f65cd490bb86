// The installer object's start and end: the payload's tables, the controller protocol, the
// admission of systems, the running-instance check, the licence texts and the install paths.

#include "InstallTestSupport.h"

#include "embedded/Payload.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>

namespace {

// A controller that records what the installer asks of it.
struct ControllerLog {
    int inits = 0;
    int runs = 0;
    int destroyWindows = 0;
    int deleted = 0;
    std::vector<std::pair<uint32_t, uint32_t>> messages;
    int initResult = 1;
    int runResult = 1;
};

ControllerLog* g_log = nullptr;

class CFakeController : public CInstallController {
public:
    ~CFakeController() override { ++g_log->deleted; }
    int Init(HINSTANCE instance) override
    {
        ++g_log->inits;
        return instance != nullptr ? g_log->initResult : 0;
    }
    int Run() override
    {
        ++g_log->runs;
        return g_log->runResult;
    }
    void DestroyWindows() override { ++g_log->destroyWindows; }
    int MessageBoxId(uint32_t id, uint32_t type) override
    {
        g_log->messages.emplace_back(id, type);
        return IDOK;
    }
    HWND MainWindowHandle() const override { return nullptr; }
    void DisablePageControls() override {}
};

CInstallController* MakeFake(CInstall*) { return new CFakeController; }
CInstallController* MakeNone(CInstall*) { return nullptr; }

class InstallStart : public ::testing::Test {
protected:
    InstallStart() { g_log = &m_log; }
    ~InstallStart() override { g_log = nullptr; }
    ControllerLog m_log;
};

}  // namespace

TEST_F(InstallStart, InitAttachesEveryTableOfThePayload)
{
    CInstallProbe install;
    ASSERT_TRUE(install.Init(GetModuleHandleW(nullptr)));

    EXPECT_FALSE(install.Text(kStrRegBaseKey).empty()) << "default table";
    const std::wstring fallback = install.Text(kStrFallbackInputLanguage);
    ASSERT_FALSE(fallback.empty()) << "installer table";
    EXPECT_EQ(install.m_fallbackLanguage, static_cast<int16_t>(std::wcstoul(fallback.c_str(), nullptr, 16)));

    install.SetLanguage(0);
    const std::wstring variant0 = install.Text(kStrVariantName2);
    install.SetLanguage(1);
    const std::wstring variant1 = install.Text(kStrVariantName2);
    EXPECT_FALSE(variant0.empty());
    EXPECT_FALSE(variant1.empty());
    EXPECT_NE(variant0, variant1) << "the two language tables";

    // The default variant is the first whose name holds the marker text.
    install.SetLanguage(0);
    const std::wstring marker = install.Text(kStrDefaultVariantMarker);
    int expected = 0;
    for (int i = 2; i >= 0; --i)
        if (install.Text(kStrVariantName0 + i).find(marker) != std::wstring::npos)
            expected = i;
    EXPECT_EQ(install.m_layoutVariant, expected);
    EXPECT_TRUE(install.m_decimalOption == 0 || install.m_decimalOption == 1);

    install.Cleanup();
    EXPECT_TRUE(install.Text(kStrFallbackInputLanguage).empty()) << "tables released";
    EXPECT_TRUE(install.Text(kStrRegBaseKey).empty());
}

TEST_F(InstallStart, WithoutAControllerRunEndsAtOnce)
{
    CInstallProbe install;
    ASSERT_TRUE(install.Init(GetModuleHandleW(nullptr)));
    EXPECT_EQ(install.Run(), 0);
    EXPECT_EQ(install.GetOwnerWindow(), nullptr);
    EXPECT_EQ(install.ShowMessage(kStrMsgNotAdmin, 0), 0);
    EXPECT_EQ(install.m_selfPath.Length(), 0) << "stopped before the paths";
}

TEST_F(InstallStart, ControllerThatCannotBeMadeOrStartedFailsInit)
{
    {
        CInstallProbe install(MakeNone);
        EXPECT_EQ(install.Init(GetModuleHandleW(nullptr)), 0);
    }
    m_log.initResult = 0;
    {
        CInstallProbe install(MakeFake);
        EXPECT_EQ(install.Init(GetModuleHandleW(nullptr)), 0);
        EXPECT_EQ(m_log.inits, 1);
    }
    EXPECT_EQ(m_log.deleted, 1) << "the installer's destructor frees its controller";
    EXPECT_EQ(m_log.destroyWindows, 1);
}

TEST_F(InstallStart, RunOnAnAdmittedSystemHandsOverToTheControllerAndFinishTearsDown)
{
    CInstallProbe install(MakeFake);
    ASSERT_TRUE(install.Init(GetModuleHandleW(nullptr)));
    m_log.runResult = 1;
    EXPECT_EQ(install.Run(), 1);
    EXPECT_TRUE(install.IsSupportedSystem());
    EXPECT_GT(install.m_selfPath.Length(), 0) << "paths computed";
    if (install.m_isAdmin) {
        EXPECT_EQ(m_log.runs, 1);
        EXPECT_TRUE(m_log.messages.empty());
    } else {
        EXPECT_EQ(m_log.runs, 0);
        ASSERT_EQ(m_log.messages.size(), 1u);
        EXPECT_EQ(m_log.messages[0].first, kStrMsgNotAdmin);
    }

    install.Finish();
    EXPECT_EQ(m_log.destroyWindows, 1);
    EXPECT_EQ(m_log.deleted, 1);
    EXPECT_EQ(install.m_ui, nullptr);
    EXPECT_TRUE(install.Text(kStrRegBaseKey).empty()) << "tables released";
}

TEST_F(InstallStart, ControllerRunFailingEndsRunWithZero)
{
    CInstallProbe install(MakeFake);
    ASSERT_TRUE(install.Init(GetModuleHandleW(nullptr)));
    m_log.runResult = 0;
    const int result = install.Run();
    if (install.m_isAdmin) {
        EXPECT_EQ(m_log.runs, 1);
        EXPECT_EQ(result, 0);
    }
}

struct AdmissionCase {
    int32_t version;
    uint16_t architecture;
    int admitted;
};

class InstallAdmission : public ::testing::TestWithParam<AdmissionCase> {};

TEST_P(InstallAdmission, ByVersionCodeAndProcessor)
{
    CInstallProbe install;
    install.SetSystem(GetParam().version, GetParam().architecture);
    EXPECT_EQ(install.IsSupportedSystem(), GetParam().admitted);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, InstallAdmission,
    ::testing::Values(AdmissionCase{50, 0, 1}, AdmissionCase{51, 0, 1}, AdmissionCase{51, 9, 0},
                      AdmissionCase{50, 6, 0}, AdmissionCase{52, 0, 1}, AdmissionCase{52, 6, 1},
                      AdmissionCase{52, 9, 1}, AdmissionCase{61, 9, 1}, AdmissionCase{63, 6, 1},
                      AdmissionCase{100, 6, 1}, AdmissionCase{100, 9, 1}, AdmissionCase{100, 5, 0},
                      AdmissionCase{100, 12, 0}, AdmissionCase{40, 0, 0}, AdmissionCase{64, 0, 0},
                      AdmissionCase{101, 9, 0}),
    [](const ::testing::TestParamInfo<AdmissionCase>& info) {
        return "V" + std::to_string(info.param.version) + "A" + std::to_string(info.param.architecture);
    });

TEST_F(InstallStart, SecondInstanceFoundByTheMainWindowClass)
{
    CInstallProbe install;
    ASSERT_TRUE(install.Init(GetModuleHandleW(nullptr)));
    EXPECT_EQ(install.IsFirstInstance(), 1);

    const std::wstring className = install.Text(kStrWindowClass);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className.c_str();
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND window = CreateWindowW(className.c_str(), L"", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(install.IsFirstInstance(), 0);
    DestroyWindow(window);
    UnregisterClassW(className.c_str(), windowClass.hInstance);
    EXPECT_EQ(install.IsFirstInstance(), 1);
}

TEST_F(InstallStart, LicenceTextsUnpackWithoutTheirByteOrderMark)
{
    CInstallProbe install;
    ASSERT_TRUE(install.Init(GetModuleHandleW(nullptr)));
    for (int i = 0; i < kUiLanguages; ++i) {
        SCOPED_TRACE(i);
        GString text;
        ASSERT_NE(install.LoadLicenceText(g_licenceTexts[i], g_licenceTextLengths[i], text), 0);
        ASSERT_GT(text.Length(), 0);
        const char16_t first = text.ToWide()[0];
        EXPECT_NE(first, u'\xFEFF');
    }
    GString text;
    EXPECT_EQ(install.LoadLicenceText(nullptr, 8, text), 0);
    EXPECT_EQ(install.LoadLicenceText(g_licenceTexts[0], 0, text), 0);
}

TEST_F(InstallStart, SettersTakeOnlyTheirRange)
{
    CInstallProbe install;
    for (int v : {0, 1, 2}) {
        install.SetLayoutVariant(v);
        EXPECT_EQ(install.GetLayoutVariant(), v);
    }
    EXPECT_EQ(install.SetLayoutVariant(3), 3);
    EXPECT_EQ(install.SetLayoutVariant(-1), -1);
    EXPECT_EQ(install.GetLayoutVariant(), 2);
    install.SetDecimalOption(0);
    install.SetDecimalOption(2);
    EXPECT_EQ(install.GetDecimalOption(), 0);
    install.SetReconfigure(1);
    EXPECT_EQ(install.m_reconfigure, 1);
}

// ---- Install paths -------------------------------------------------------------------------------

namespace {

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    return SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? path : L"";
}

constexpr wchar_t kExpectedSelfVariable[] = L"INSTALL_TEST_EXPECTED_SELF";
constexpr int kChildPassed = 42;

}  // namespace

TEST(InstallPaths, FormedFromTheFolderBasesAndTheTables)
{
    CInstallProbe install;
    ASSERT_TRUE(install.Init(GetModuleHandleW(nullptr)));
    ASSERT_EQ(install.ComputePaths(), 1);

    const std::wstring product = SpecialFolder(CSIDL_PROGRAM_FILES) + L"\\" + install.Text(kStrMakerFolder) + L"\\" +
                                 install.Text(kStrProductFolder);
    const std::wstring menu = SpecialFolder(CSIDL_COMMON_PROGRAMS) + L"\\" + install.Text(kStrMakerFolder) + L"\\" +
                              install.Text(kStrProductFolder);
    const std::wstring desktop = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    const std::wstring title =
        install.Text(kStrSharedDocTitle) + L" (" + install.Text(kStrSharedDocEdition) + L")";
    EXPECT_EQ(Wide(install.m_productFolder), product);
    EXPECT_EQ(Wide(install.m_menuFolder), menu);
    EXPECT_EQ(Wide(install.m_sharedDoc), product + L"\\" + title + install.Text(kStrDocumentExtension));
    EXPECT_EQ(Wide(install.m_sharedDocDeskLink), desktop + L"\\" + title + install.Text(kStrShortcutExtension));
    EXPECT_EQ(Wide(install.m_textFile),
              product + L"\\" + install.Text(kStrTextFileName) + install.Text(kStrTextFileExtension));
    EXPECT_EQ(Wide(install.m_deskLinkFile),
              desktop + L"\\" + install.Text(kStrLinkFileName) + install.Text(kStrLinkFileExtension));
    EXPECT_EQ(Wide(install.m_pageFile), product + L"\\" + install.Text(kStrPageFileName));

    std::wstring name = install.Text(kStrMaintenanceNameFormat);
    const size_t directive = name.find(L"%s");
    ASSERT_NE(directive, std::wstring::npos);
    name.replace(directive, 2, install.Text(kStrLayoutName));
    EXPECT_EQ(Wide(install.m_maintenanceName), name);
    EXPECT_EQ(Wide(install.m_maintenanceLink), menu + L"\\" + name + install.Text(kStrShortcutExtension));
}

// Run by the next test in a child process whose command line starts as it chooses.
TEST(InstallPaths, ChildComputesItsInstallerCopy)
{
    wchar_t expected[MAX_PATH] = {};
    if (GetEnvironmentVariableW(kExpectedSelfVariable, expected, MAX_PATH) == 0)
        GTEST_SKIP() << "started only as a child";
    CInstallProbe install;
    ASSERT_TRUE(install.Init(GetModuleHandleW(nullptr)));
    ASSERT_EQ(install.ComputePaths(), 1);
    const std::wstring self = expected;
    EXPECT_EQ(Wide(install.m_selfPath), self);
    EXPECT_EQ(Wide(install.m_installerCopy), Wide(install.m_productFolder) + L"\\" + self.substr(self.rfind(L'\\') + 1));
    // A code of its own, so the parent can tell checks that ran and passed from a skipped test.
    std::fflush(stdout);
    std::_Exit(HasFailure() ? 1 : kChildPassed);
}

TEST(InstallPaths, InstallerCopyFromAFullPathAndFromABareFileName)
{
    wchar_t module[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, module, MAX_PATH), 0u);
    const std::wstring full = module;
    const std::wstring bare = full.substr(full.rfind(L'\\') + 1);
    for (const std::wstring& first : {full, bare}) {
        SCOPED_TRACE(std::string(first.begin(), first.end()));
        std::wstring commandLine = L"\"" + first + L"\" --gtest_filter=InstallPaths.ChildComputesItsInstallerCopy";
        ASSERT_TRUE(SetEnvironmentVariableW(kExpectedSelfVariable, first.c_str()));
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        const BOOL started = CreateProcessW(module, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                            &startup, &process);
        SetEnvironmentVariableW(kExpectedSelfVariable, nullptr);
        ASSERT_TRUE(started);
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        EXPECT_EQ(exitCode, DWORD(kChildPassed)) << "the child's checks failed";
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
