// The version code and processor architecture as the prefix shows them. Besides the plain prefix
// of each kind, these tests run in prefixes set to a Windows version, whose folder is named after
// it (win64-win7 ...): that name is the expectation.
#include "tests/platform/PlatformTestSupport.h"

#include <map>

namespace {

enum : uint32_t {
    kIdNativeEntry = 1,
    kIdKernel,
    kIdNoSuchEntry,
    kIdUnknown = 999,
};

class SystemInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_install.SetTexts({{kIdNativeEntry, u"GetNativeSystemInfo"},
                            {kIdKernel, u"kernel32.dll"},
                            {kIdNoSuchEntry, u"NoSuchEntryPoint"}});
    }

    CTestInstall m_install;
};

// The version a prefix was set to, by the part of its name after the kind; 0 without one.
int VersionCodeOfPrefix(const std::string& prefixName)
{
    const std::size_t dash = prefixName.find('-');
    if (dash == std::string::npos)
        return 0;
    static const std::map<std::string, int> codes = {
        {"win2k", 50},   {"winxp", 51}, {"winxp64", 52},   {"win2003", 52}, {"vista", 60},
        {"win2008", 60}, {"win7", 61},  {"win2008r2", 61}, {"win8", 62},
    };
    const auto found = codes.find(prefixName.substr(dash + 1));
    if (found == codes.end()) {
        ADD_FAILURE() << "no version code is known for the prefix " << prefixName;
        return 0;
    }
    return found->second;
}

TEST_F(SystemInfoTest, VersionAndNativeArchitectureAreThePrefixs)
{
    ASSERT_EQ(m_install.SystemInfoRead(kIdNativeEntry, kIdKernel), 1);

    const int expectedVersion = VersionCodeOfPrefix(PrefixName());
    if (expectedVersion != 0) {
        EXPECT_EQ(m_install.GetOsVersion(), expectedVersion) << "prefix " << PrefixName();
    } else {
        OSVERSIONINFOW version = {};
        version.dwOSVersionInfoSize = sizeof version;
        GetVersionExW(&version);
        EXPECT_EQ(m_install.GetOsVersion(), int32_t(10 * version.dwMajorVersion + version.dwMinorVersion));
    }

    const std::string kind = PrefixKind();
    if (kind == "win64") {
        EXPECT_EQ(m_install.GetProcessorArchitecture(), PROCESSOR_ARCHITECTURE_AMD64);
        EXPECT_EQ(m_install.Is64Bit(), 1);
    } else if (kind == "win32") {
        EXPECT_EQ(m_install.GetProcessorArchitecture(), PROCESSOR_ARCHITECTURE_INTEL);
        EXPECT_EQ(m_install.Is64Bit(), 0);
    } else {
        SYSTEM_INFO native = {};
        GetNativeSystemInfo(&native);
        EXPECT_EQ(m_install.GetProcessorArchitecture(), native.wProcessorArchitecture);
    }
}

// Without the native entry point (Windows 2000 has none) GetSystemInfo answers, which shows a
// 32-bit program on 64-bit Windows an x86 system.
TEST_F(SystemInfoTest, WithoutTheNativeEntryPointTheProgramsOwnViewDecides)
{
    SYSTEM_INFO own = {};
    GetSystemInfo(&own);
    const int own64 = own.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ? 1 : 0;
    struct Row
    {
        const char* label;
        uint32_t entry;
        uint32_t library;
    };
    const Row rows[] = {
        {"entry point missing", kIdNoSuchEntry, kIdKernel},
        {"library id unknown", kIdNativeEntry, kIdUnknown},
        {"entry id unknown", kIdUnknown, kIdKernel},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_EQ(m_install.SystemInfoRead(row.entry, row.library), 1);
        EXPECT_EQ(m_install.GetProcessorArchitecture(), own.wProcessorArchitecture);
        EXPECT_EQ(m_install.Is64Bit(), own64);
        if (RunsUnderWow64()) {
            EXPECT_EQ(m_install.GetProcessorArchitecture(), PROCESSOR_ARCHITECTURE_INTEL);
            EXPECT_EQ(m_install.Is64Bit(), 0);
        }
        EXPECT_NE(m_install.GetOsVersion(), 0);
    }
}

} // namespace
