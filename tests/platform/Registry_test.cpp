// The registry wrappers against the registry of the Wine prefix: every test works below a key of
// its own under HKEY_CURRENT_USER (or HKEY_LOCAL_MACHINE where the operation demands it).
#include "tests/platform/PlatformTestSupport.h"

#include <shlwapi.h>

#include <cstring>

namespace {

enum : uint32_t {
    kIdName = 1,
    kIdOtherName = 2,
    kIdText = 3,
    kIdChild = 4,
    kIdGrandchild = 5,
    kIdEmpty = 6,
    kIdMachineKey = 7,
    kIdUnknown = 999,
};

std::wstring UniqueKeyName(const wchar_t* stem)
{
    return std::wstring(L"Software\\") + stem + L"-" + std::to_wstring(GetCurrentProcessId());
}

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_keyName = UniqueKeyName(L"PlatformRegistryTest");
        SHDeleteKeyW(HKEY_CURRENT_USER, m_keyName.c_str());
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, m_keyName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                                  nullptr),
                  ERROR_SUCCESS);
        m_install.SetTexts({{kIdName, u"Name"},
                            {kIdOtherName, u"Other"},
                            {kIdText, u"Stored text"},
                            {kIdChild, u"Child"},
                            {kIdGrandchild, u"Grandchild"},
                            {kIdEmpty, u""},
                            {kIdMachineKey, U(UniqueKeyName(L"PlatformMachineTest"))}});
    }

    void TearDown() override
    {
        RegCloseKey(m_key);
        SHDeleteKeyW(HKEY_CURRENT_USER, m_keyName.c_str());
    }

    void Store(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        ASSERT_EQ(RegSetValueExW(m_key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }

    DWORD StoredBytes(const wchar_t* name)
    {
        DWORD bytes = 0;
        EXPECT_EQ(RegQueryValueExW(m_key, name, nullptr, nullptr, nullptr, &bytes), ERROR_SUCCESS);
        return bytes;
    }

    CTestInstall m_install;
    std::wstring m_keyName;
    HKEY m_key = nullptr;
};

TEST_F(RegistryTest, ValuesRoundTripByNameAndById)
{
    EXPECT_EQ(m_install.RegValueSetDword(m_key, kIdName, 0x89ABCDEFu), 1);
    uint32_t number = 0;
    EXPECT_EQ(m_install.RegValueGetDword(m_key, u"Name", number), 1);
    EXPECT_EQ(number, 0x89ABCDEFu);

    const unsigned char bytes[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
    EXPECT_EQ(m_install.RegValueSetBinary(m_key, u"Bytes", bytes, sizeof bytes), 1);
    uint32_t size = 0;
    unsigned char* read = m_install.RegValueGetBinary(m_key, u"Bytes", size);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(size, sizeof bytes);
    EXPECT_EQ(std::memcmp(read, bytes, sizeof bytes), 0);
    delete[] read;

    // An 8-bit string is converted to UTF-16 in place and stored with its terminator.
    GString text;
    text.AssignUtf8("Z\xC3\xBCrich \xE2\x82\xAC");
    EXPECT_EQ(m_install.RegValueSetString(m_key, kIdOtherName, text), 1);
    EXPECT_TRUE(text.IsWide());
    EXPECT_EQ(StoredBytes(L"Other"), (8u + 1) * 2);
    GString readText;
    EXPECT_EQ(m_install.RegValueGetString(m_key, kIdOtherName, readText), 1);
    EXPECT_EQ(Wide(readText), L"Z\u00FCrich \u20AC");

    EXPECT_EQ(m_install.RegValueSetString(m_key, kIdName, kIdText), 1);
    EXPECT_EQ(m_install.RegValueGetString(m_key, u"Name", readText), 1);
    EXPECT_EQ(Wide(readText), L"Stored text");

    GString empty;
    EXPECT_EQ(m_install.RegValueSetString(m_key, u"Empty", empty), 1);
    EXPECT_EQ(StoredBytes(L"Empty"), 2u);
    readText.AssignW(u"left over");
    EXPECT_EQ(m_install.RegValueGetString(m_key, u"Empty", readText), 1);
    EXPECT_EQ(readText.Length(), 0);

    EXPECT_EQ(m_install.RegValueDelete(m_key, u"Bytes"), 1);
    m_install.RegValueDelete(m_key, kIdName);
    EXPECT_EQ(RegQueryValueExW(m_key, L"Bytes", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(m_key, L"Name", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(m_install.RegValueDelete(m_key, u"Bytes"), 0);
}

// Every reader applied to every kind of stored value: only the exact type (and for DWORD the exact
// size) is accepted, and a refused read leaves its target alone.
struct StoredValue
{
    const char* label;
    DWORD type; // 0: no value stored
    std::string data;
    bool dwordRead;
    bool stringRead;
    std::u16string text;
    bool binaryRead;
};

TEST_F(RegistryTest, ReadersAcceptOnlyTheirTypeAndSize)
{
    using namespace std::string_literals;
    const StoredValue rows[] = {
        {"missing value", 0, "", false, false, u"", false},
        {"REG_DWORD of 4 bytes", REG_DWORD, "\x78\x56\x34\x12", true, false, u"", false},
        {"REG_DWORD of 2 bytes", REG_DWORD, "\x34\x12", false, false, u"", false},
        {"REG_DWORD of 8 bytes", REG_DWORD, "\x78\x56\x34\x12\0\0\0\0"s, false, false, u"", false},
        {"REG_BINARY of 4 bytes", REG_BINARY, "\x78\x56\x34\x12", false, false, u"", true},
        {"REG_BINARY of 0 bytes", REG_BINARY, "", false, false, u"", false},
        {"REG_SZ terminated", REG_SZ, "a\0b\0c\0\0\0"s, false, true, u"abc", false},
        {"REG_SZ without terminator", REG_SZ, "a\0b\0c\0"s, false, true, u"abc", false},
        {"REG_SZ with an odd byte after the terminator", REG_SZ, "a\0b\0c\0\0\0x"s, false, true, u"abc", false},
        {"REG_SZ of one zero unit", REG_SZ, "\0\0"s, false, true, u"", false},
        {"REG_SZ of 0 bytes", REG_SZ, "", false, true, u"", false},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, "a\0b\0c\0\0\0"s, false, false, u"", false},
        {"REG_MULTI_SZ", REG_MULTI_SZ, "a\0\0\0\0\0"s, false, false, u"", false},
    };
    for (const StoredValue& row : rows) {
        SCOPED_TRACE(row.label);
        RegDeleteValueW(m_key, L"Value");
        if (row.type != 0)
            Store(L"Value", row.type, row.data.data(), static_cast<DWORD>(row.data.size()));

        uint32_t number = 0xDEADBEEF;
        EXPECT_EQ(m_install.RegValueGetDword(m_key, u"Value", number), row.dwordRead ? 1 : 0);
        EXPECT_EQ(number, row.dwordRead ? 0x12345678u : 0xDEADBEEFu);

        GString text;
        text.AssignW(u"untouched");
        EXPECT_EQ(m_install.RegValueGetString(m_key, u"Value", text), row.stringRead ? 1 : 0);
        if (row.stringRead) {
            EXPECT_EQ(std::u16string(text.GetW(), text.Length()), row.text);
            EXPECT_TRUE(text.IsWide());
        }

        uint32_t size = 0xFFFF;
        unsigned char* bytes = m_install.RegValueGetBinary(m_key, u"Value", size);
        EXPECT_EQ(bytes != nullptr, row.binaryRead);
        if (bytes) {
            EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), row.data);
        } else {
            EXPECT_EQ(size, 0u);
        }
        delete[] bytes;
    }
}

TEST_F(RegistryTest, EqualsComparesExactlyAndCaseSensitively)
{
    Store(L"Name", REG_SZ, L"ABC", 8);
    struct Row
    {
        const char16_t* text;
        int expected;
    };
    const Row rows[] = {{u"ABC", 1}, {u"abc", 0}, {u"AB", 0}, {u"ABC ", 0}, {u"", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "text '" << W(row.text) << "'");
        GString value;
        value.AssignW(row.text);
        EXPECT_EQ(m_install.RegValueEquals(m_key, u"Name", value), row.expected);
        EXPECT_EQ(m_install.RegValueEquals(m_key, kIdName, value), row.expected);
    }
    GString eightBit;
    eightBit.AssignUtf8("ABC");
    EXPECT_EQ(m_install.RegValueEquals(m_key, kIdName, eightBit), 1);
    EXPECT_EQ(m_install.RegValueEquals(m_key, u"Missing", eightBit), 0);
}

TEST_F(RegistryTest, UnknownIdsAndEmptyNamesTouchNothing)
{
    Store(L"Name", REG_DWORD, "\x05\0\0\0", 4);
    HKEY child = nullptr;
    ASSERT_EQ(RegCreateKeyExW(m_key, L"Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr), ERROR_SUCCESS);
    RegCloseKey(child);

    EXPECT_EQ(m_install.RegKeyOpen(m_key, kIdUnknown, KEY_READ), nullptr);
    EXPECT_EQ(m_install.RegKeyCreate(m_key, kIdUnknown, KEY_WRITE), nullptr);
    // An empty subkey name never yields a second handle to the parent key itself.
    EXPECT_EQ(m_install.RegKeyOpen(m_key, kIdEmpty, KEY_READ), nullptr);
    EXPECT_EQ(m_install.RegKeyCreate(m_key, u"", KEY_WRITE), nullptr);
    EXPECT_EQ(m_install.RegKeyOpen(nullptr, u"Child", KEY_READ), nullptr);

    const unsigned char byte = 1;
    GString text;
    text.AssignW(u"text");
    EXPECT_EQ(m_install.RegValueSetDword(m_key, kIdUnknown, 7), 0);
    EXPECT_EQ(m_install.RegValueSetBinary(m_key, kIdUnknown, &byte, 1), 0);
    EXPECT_EQ(m_install.RegValueSetString(m_key, kIdUnknown, text), 0);
    EXPECT_EQ(m_install.RegValueSetString(m_key, kIdOtherName, kIdUnknown), 0);
    EXPECT_EQ(m_install.RegValueSetString(m_key, kIdEmpty, text), 0);
    EXPECT_EQ(m_install.RegValueSetString(nullptr, u"Name", text), 0);
    uint32_t number = 3;
    EXPECT_EQ(m_install.RegValueGetDword(m_key, kIdUnknown, number), 0);
    EXPECT_EQ(number, 3u);
    EXPECT_EQ(m_install.RegValueGetString(m_key, kIdUnknown, text), 0);
    EXPECT_EQ(Wide(text), L"text");
    uint32_t size = 9;
    EXPECT_EQ(m_install.RegValueGetBinary(m_key, kIdUnknown, size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(m_install.RegValueEquals(m_key, kIdUnknown, text), 0);
    m_install.RegValueDelete(m_key, kIdUnknown);
    m_install.RegValueDelete(m_key, kIdEmpty);
    EXPECT_EQ(m_install.RegValueDelete(m_key, u""), 0);
    EXPECT_EQ(m_install.RegKeyDelete(m_key, kIdUnknown), 0);
    EXPECT_EQ(m_install.RegMachineSetString(kIdUnknown, kIdName, kIdText), 0);
    // An empty name would make RegDeleteKeyW delete the key it is given.
    HKEY doomed = nullptr;
    ASSERT_EQ(RegOpenKeyExW(m_key, L"Child", 0, KEY_ALL_ACCESS, &doomed), ERROR_SUCCESS);
    EXPECT_EQ(m_install.RegKeyDelete(doomed, kIdEmpty), 0);
    RegCloseKey(doomed);

    DWORD subkeys = 0;
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subkeys, 1u);
    EXPECT_EQ(values, 1u);
    EXPECT_EQ(m_install.RegValueGetDword(m_key, u"Name", number), 1);
    EXPECT_EQ(number, 5u);
}

TEST_F(RegistryTest, KeysAreCreatedOpenedAndDeletedOnlyWithoutSubkeys)
{
    HKEY child = m_install.RegKeyCreate(m_key, kIdChild, KEY_READ | KEY_WRITE);
    ASSERT_NE(child, nullptr);
    HKEY grandchild = m_install.RegKeyCreate(child, u"Grandchild", KEY_WRITE);
    ASSERT_NE(grandchild, nullptr);
    RegCloseKey(grandchild);

    EXPECT_EQ(m_install.RegKeyDelete(m_key, kIdChild), 0);
    HKEY opened = m_install.RegKeyOpen(m_key, kIdChild, KEY_READ);
    EXPECT_NE(opened, nullptr);
    if (opened)
        RegCloseKey(opened);

    EXPECT_EQ(m_install.RegKeyDelete(child, kIdGrandchild), 1);
    RegCloseKey(child);
    EXPECT_EQ(m_install.RegKeyDelete(m_key, kIdChild), 1);
    EXPECT_EQ(m_install.RegKeyOpen(m_key, kIdChild, KEY_READ), nullptr);
    EXPECT_EQ(m_install.RegKeyDelete(m_key, kIdChild), 0);
}

TEST_F(RegistryTest, MachineStringGoesIntoAnExistingMachineKeyOnly)
{
    const std::wstring machineKey = UniqueKeyName(L"PlatformMachineTest");
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, machineKey.c_str());
    EXPECT_EQ(m_install.RegMachineSetString(kIdMachineKey, kIdName, kIdText), 0);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, machineKey.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);

    ASSERT_EQ(
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, machineKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(m_install.RegMachineSetString(kIdMachineKey, kIdName, kIdText), 1);
    GString stored;
    EXPECT_EQ(m_install.RegValueGetString(key, u"Name", stored), 1);
    EXPECT_EQ(Wide(stored), L"Stored text");
    RegCloseKey(key);
    SHDeleteKeyW(HKEY_LOCAL_MACHINE, machineKey.c_str());
}

// What each registry view holds, as the reg program of either bitness reports it.
std::wstring RegProgram(bool sixtyFourBit)
{
    wchar_t windows[MAX_PATH];
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    const wchar_t* folder = !sixtyFourBit ? L"\\syswow64" : RunsUnderWow64() ? L"\\sysnative" : L"\\system32";
    return std::wstring(windows) + folder + L"\\reg.exe";
}

bool RegSeesValue(bool sixtyFourBit, const std::wstring& keyName)
{
    const std::wstring command = L"\"" + RegProgram(sixtyFourBit) + L"\" query \"HKLM\\" + keyName + L"\" /v Name";
    return RunAndWait(command, 60000) == 0;
}

TEST(RegistryViewTest, SixtyFourBitFlagReachesWhatThe64BitRegSees)
{
    if (PrefixKind() != "win64")
        GTEST_SKIP() << "a 32-bit Windows has one registry view";
    const std::wstring keyName = UniqueKeyName(L"PlatformViewTest");
    CTestInstall install;
    install.SetTexts({{kIdChild, U(keyName)}, {kIdName, u"Name"}});

    struct Row
    {
        const char* label;
        REGSAM view;
        bool seenBy64;
        bool seenBy32;
    };
    // Without a flag a program writes to the view of its own bitness.
    const bool native64 = sizeof(void*) == 8;
    const Row rows[] = {
        {"KEY_WOW64_64KEY", KEY_WOW64_64KEY, true, false},
        {"no view flag", 0, native64, !native64},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        HKEY key = install.RegKeyCreate(HKEY_LOCAL_MACHINE, kIdChild, KEY_WRITE | row.view);
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(install.RegValueSetDword(key, kIdName, 1), 1);
        RegCloseKey(key);

        EXPECT_EQ(RegSeesValue(true, keyName), row.seenBy64);
        EXPECT_EQ(RegSeesValue(false, keyName), row.seenBy32);

        HKEY software = nullptr;
        ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | row.view, &software),
                  ERROR_SUCCESS);
        const std::wstring leaf = keyName.substr(keyName.find(L'\\') + 1);
        EXPECT_EQ(SHDeleteKeyW(software, leaf.c_str()), ERROR_SUCCESS);
        RegCloseKey(software);
    }
}

} // namespace
