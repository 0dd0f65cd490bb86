// Starting programs from command-line templates, and libraries and entry points named by id.
// The started program is platform_sleeper, built beside this test.
#include "tests/platform/PlatformTestSupport.h"

namespace {

enum : uint32_t {
    kIdRunSleeper = 1, // "path" milliseconds "marker"
    kIdRunBareSleeper, // the sleeper by its bare file name
    kIdRunBareSystem,  // a program of the system folder by its bare file name
    kIdRunQuoted,      // "path"
    kIdKernel,
    kIdGetVersion,
    kIdNoSuchEntry,
    kIdEmpty,
    kIdUnknown = 999,
};

const wchar_t kSleeper[] = L"platform_sleeper.exe";

class ProcessesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_install.SetTexts({{kIdRunSleeper, u"\"%s\" %u \"%s\""},
                            {kIdRunBareSleeper, u"platform_sleeper.exe %u \"%s\""},
                            {kIdRunBareSystem, u"cmd.exe /c echo x> \"%s.started\""},
                            {kIdRunQuoted, u"\"%s\""},
                            {kIdKernel, u"kernel32.dll"},
                            {kIdGetVersion, u"GetVersion"},
                            {kIdNoSuchEntry, u"NoSuchEntryPoint"},
                            {kIdEmpty, u""}});
        ASSERT_TRUE(FileExists(m_sleeper)) << "the helper program is missing";
    }

    // Milliseconds that ProcessRun took.
    template <typename... Arguments> DWORD TimedRun(int& result, uint32_t formatId, Arguments... arguments)
    {
        const DWORD start = GetTickCount();
        result = m_install.ProcessRun(formatId, arguments...);
        return GetTickCount() - start;
    }

    CTestInstall m_install;
    ScratchFolder m_folder;
    const std::wstring m_sleeper = BesideTestProgram(kSleeper);
};

TEST_F(ProcessesTest, FormatIdZeroStartsNothing)
{
    EXPECT_EQ(m_install.ProcessRun(0, U(m_sleeper).c_str(), 0u, U(m_folder / L"zero").c_str()), 0);
    Sleep(1000);
    EXPECT_FALSE(FileExists(m_folder / L"zero.started"));
}

TEST_F(ProcessesTest, MissingProgramIsReportedAsRunWithoutWaiting)
{
    int result = 0;
    const DWORD elapsed = TimedRun(result, kIdRunQuoted, U(m_folder / L"no-such-program.exe").c_str());
    EXPECT_EQ(result, 1);
    EXPECT_LT(elapsed, 500u);
}

TEST_F(ProcessesTest, LongProgramIsWaitedForOneSecondAndLeftRunning)
{
    const std::wstring marker = m_folder / L"long";
    int result = 0;
    const DWORD elapsed = TimedRun(result, kIdRunSleeper, U(m_sleeper).c_str(), 3000u, U(marker).c_str());
    EXPECT_EQ(result, 1);
    EXPECT_GE(elapsed, 950u);
    EXPECT_LT(elapsed, 2500u);
    EXPECT_TRUE(FileExists(marker + L".started"));
    EXPECT_FALSE(FileExists(marker + L".finished"));
    EXPECT_TRUE(WaitForFile(marker + L".finished", 15000));
}

// A bare program name is looked for in the system folder only: a program of that name beside
// this one (its folder is also the working folder of the test) must not run.
TEST_F(ProcessesTest, BareProgramNameIsTakenFromTheSystemFolderOnly)
{
    const std::wstring planted = m_folder / L"planted";
    int result = 0;
    EXPECT_EQ(m_install.ProcessRun(kIdRunBareSleeper, 0u, U(planted).c_str()), 1);
    Sleep(2000);
    EXPECT_FALSE(FileExists(planted + L".started"));

    const std::wstring system = m_folder / L"system";
    TimedRun(result, kIdRunBareSystem, U(system).c_str());
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(WaitForFile(system + L".started", 15000));
}

TEST_F(ProcessesTest, EntryPointsAreResolvedByIdAndTheModuleStaysWithTheCaller)
{
    HMODULE module = nullptr;
    FARPROC entry = m_install.ProcAddressGet(kIdGetVersion, kIdKernel, module);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(entry, GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetVersion"));
    EXPECT_NE(entry, nullptr);

    // A module that is already loaded is used as it is, whatever the library id.
    HMODULE given = module;
    EXPECT_EQ(m_install.ProcAddressGet(kIdGetVersion, kIdUnknown, given), entry);
    EXPECT_EQ(given, module);
    EXPECT_EQ(m_install.ProcAddressGet(kIdNoSuchEntry, kIdKernel, given), nullptr);
    EXPECT_EQ(m_install.ProcAddressGet(kIdUnknown, kIdKernel, given), nullptr);
    EXPECT_EQ(given, module);
    FreeLibrary(module);

    HMODULE none = nullptr;
    EXPECT_EQ(m_install.ProcAddressGet(kIdGetVersion, kIdUnknown, none), nullptr);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(m_install.LibraryLoad(kIdUnknown), nullptr);
    EXPECT_EQ(m_install.LibraryLoad(kIdEmpty), nullptr);
    HMODULE loaded = m_install.LibraryLoad(kIdKernel);
    EXPECT_EQ(loaded, GetModuleHandleW(L"kernel32.dll"));
    if (loaded)
        FreeLibrary(loaded);
}

} // namespace
