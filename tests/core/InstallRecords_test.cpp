// The install records in the registry of the prefix: writing an install and a second layout,
// reading them back, the read chain, unusable values, the earlier release, and removal.

#include "InstallTestSupport.h"

#include "core/KeyTable.h"

namespace {

class InstallRecords : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_names.Init(GetModuleHandleW(nullptr)));
        m_makerPath = m_names.Text(kStrRegBaseKey) + L"\\" + m_names.Text(kStrRegMakerKey);
        m_productPath = m_makerPath + L"\\" + m_names.Text(kStrRegProductKey);
        m_sharedDocPath = m_productPath + L"\\" + m_names.Text(kStrRegSharedDocParentKey) + L"\\" +
                          m_names.Text(kStrRegSharedDocKey);
        m_layoutPath =
            m_productPath + L"\\" + m_names.Text(kStrRegLayoutParentKey) + L"\\" + m_names.Text(kStrRegLayoutKey);
        m_entryPath = m_names.Text(kStrRegWindowsLayoutsKey) + L"\\" + m_names.Text(kStrLayoutKeyName);
        ASSERT_FALSE(CRawKey(m_makerPath).Exists()) << "the prefix holds records from elsewhere";
        ASSERT_FALSE(CRawKey(m_entryPath).Exists());
    }
    void TearDown() override
    {
        SHDeleteKeyW(HKEY_LOCAL_MACHINE, m_makerPath.c_str());
        SHDeleteKeyW(HKEY_LOCAL_MACHINE, m_entryPath.c_str());
    }

    std::wstring Name(uint32_t id) { return m_names.Text(id); }

    // An installer as the install sequence leaves it before writing the records.
    static void PrepareInstall(CInstallProbe& install, uint32_t productUsers, int sharedDocUsers)
    {
        ASSERT_TRUE(install.Start());
        install.ComputePaths();
        install.ReadInstallState();
        install.m_productUsers = productUsers;
        install.m_sharedDocUsers = sharedDocUsers;
        install.m_textDeskLinkMade = 1;
        install.m_sharedDocDeskLinkMade = 1;
        install.m_productDocDeskLinkMade = 1;
    }

    CInstallProbe m_names;
    std::wstring m_makerPath;
    std::wstring m_productPath;
    std::wstring m_sharedDocPath;
    std::wstring m_layoutPath;
    std::wstring m_entryPath;
};

}  // namespace

TEST_F(InstallRecords, FirstInstallWritesEveryValueAndReadsBack)
{
    CInstallProbe install;
    PrepareInstall(install, 1, 1);
    install.SetLayoutVariant(2);
    install.SetDecimalOption(0);
    install.m_altLibraries = 1;
    install.m_altLibrariesStored = 1;
    ScanCodeEntry* key = FindKey(install.m_keys, kKeyCatalogueRows, 0x10);
    ASSERT_NE(key, nullptr);
    key->m_virtualKey = VK_F1;  // no variant types F1 on the Q key
    const uint16_t override = key->m_virtualKey;
    ASSERT_EQ(install.WriteInstallState(), 1);

    wchar_t layoutName[KL_NAMELENGTH + 1] = {};
    ASSERT_TRUE(GetKeyboardLayoutNameW(layoutName));
    GString expectedLocale;
    GString format;
    install.GetString(kStrPrevInputLocaleFormat, format);
    expectedLocale.Format(format.GetW(), static_cast<unsigned>(GetUserDefaultLangID()), AsChar16(layoutName));

    CRawKey product(m_productPath);
    EXPECT_EQ(product.String(Name(kStrValuePrevInputLocale)), Wide(expectedLocale));
    EXPECT_EQ(product.Dword(Name(kStrValueProductUsers)), 1);
    const struct {
        uint32_t value;
        const GString& field;
    } strings[] = {
        {kStrValueTextMenuLink, install.m_textMenuLink},   {kStrValueTextFile, install.m_textFile},
        {kStrValueTextDeskLink, install.m_textDeskLink},   {kStrValueMenuLinkFile, install.m_menuLinkFile},
        {kStrValueDeskLinkFile, install.m_deskLinkFile},   {kStrValuePageFile, install.m_pageFile},
        {kStrValueProductDoc, install.m_productDoc},       {kStrValueProductDocMenuLink, install.m_productDocMenuLink},
        {kStrValueProductDocDeskLink, install.m_productDocDeskLink},
    };
    for (const auto& row : strings) {
        SCOPED_TRACE(row.value);
        EXPECT_FALSE(Wide(row.field).empty());
        EXPECT_EQ(product.String(Name(row.value)), Wide(row.field));
    }
    EXPECT_EQ(product.Dword(Name(kStrValueProductDocVersion)), 190);

    CRawKey document(m_sharedDocPath);
    EXPECT_EQ(document.String(Name(kStrValueSharedDoc)), Wide(install.m_sharedDoc));
    EXPECT_EQ(document.String(Name(kStrValueSharedDocMenuLink)), Wide(install.m_sharedDocMenuLink));
    EXPECT_EQ(document.String(Name(kStrValueSharedDocDeskLink)), Wide(install.m_sharedDocDeskLink));
    EXPECT_EQ(document.Dword(Name(kStrValueSharedDocVersion)), 190);
    EXPECT_EQ(document.Dword(Name(kStrValueSharedDocUsers)), 1);

    CRawKey layout(m_layoutPath);
    EXPECT_EQ(layout.String(Name(kStrValueInstallerCopy)), Wide(install.m_installerCopy));
    EXPECT_EQ(layout.String(Name(kStrValueMaintenanceLink)), Wide(install.m_maintenanceLink));
    EXPECT_EQ(layout.Dword(Name(kStrValueInstalledVersion)), 190);
    EXPECT_EQ(layout.Dword(Name(kStrValueLayoutVariant)), 2);
    EXPECT_EQ(layout.Dword(Name(kStrValueDecimalOption)), 0);
    EXPECT_EQ(layout.Dword(Name(kStrValueAltLibraries)), 1);
    EXPECT_EQ(layout.Dword(Name(kStrValueAltLibrariesStored)), 1);
    const std::vector<BYTE> pairs = layout.Bytes(Name(kStrValueKeyOverrides), REG_BINARY);
    EXPECT_EQ(pairs, (std::vector<BYTE>{0x10, 0, static_cast<BYTE>(override), 0}));

    CInstallProbe reader;
    ASSERT_TRUE(reader.Start());
    reader.ReadInstallState();
    EXPECT_EQ(reader.m_installedVersion, 190u);
    EXPECT_EQ(Wide(reader.m_prevInputLocaleRecorded), Wide(expectedLocale));
    EXPECT_EQ(reader.m_productUsers, 1u);
    EXPECT_EQ(reader.m_sharedDocUsers, 1);
    EXPECT_EQ(reader.m_productDocVersion, 190u);
    EXPECT_EQ(reader.m_sharedDocVersion, 190u);
    EXPECT_EQ(Wide(reader.m_textDeskLinkRecorded), Wide(install.m_textDeskLink));
    EXPECT_EQ(Wide(reader.m_deskLinkFileRecorded), Wide(install.m_deskLinkFile));
    EXPECT_EQ(Wide(reader.m_pageFileRecorded), Wide(install.m_pageFile));
    EXPECT_EQ(Wide(reader.m_productDocDeskLinkRecorded), Wide(install.m_productDocDeskLink));
    EXPECT_EQ(Wide(reader.m_sharedDocDeskLinkRecorded), Wide(install.m_sharedDocDeskLink));
    EXPECT_EQ(Wide(reader.m_installerCopyRecorded), Wide(install.m_installerCopy));
    EXPECT_EQ(Wide(reader.m_maintenanceLinkRecorded), Wide(install.m_maintenanceLink));
    EXPECT_EQ(reader.GetLayoutVariant(), 2);
    EXPECT_EQ(reader.GetDecimalOption(), 0);
    EXPECT_EQ(reader.m_altLibraries, 1);
    EXPECT_EQ(reader.m_altLibrariesStored, 1);
    EXPECT_EQ(FindKey(reader.m_keys, kKeyCatalogueRows, 0x10)->m_virtualKey, override);
}

TEST_F(InstallRecords, SecondLayoutKeepsTheSharedRecordsAndCountsTwo)
{
    {
        CInstallProbe first;
        PrepareInstall(first, 1, 1);
        ASSERT_EQ(first.WriteInstallState(), 1);
    }
    CRawKey(m_productPath, KEY_WRITE).SetString(Name(kStrValuePrevInputLocale), L"first install");

    CInstallProbe second;
    PrepareInstall(second, 2, 2);
    ASSERT_EQ(Wide(second.m_prevInputLocaleRecorded), L"first install");
    const std::wstring recordedText = Wide(second.m_textFileRecorded);
    for (GString* path : {&second.m_textFile, &second.m_textMenuLink, &second.m_menuLinkFile, &second.m_deskLinkFile,
                          &second.m_pageFile})
        path->AssignW(u"C:\\elsewhere");
    second.m_textDeskLinkMade = 0;
    ASSERT_EQ(second.WriteInstallState(), 1);

    CRawKey product(m_productPath);
    EXPECT_EQ(product.String(Name(kStrValuePrevInputLocale)), L"first install");
    EXPECT_EQ(product.Dword(Name(kStrValueProductUsers)), 2);
    EXPECT_EQ(product.String(Name(kStrValueTextFile)), recordedText);
    for (uint32_t value : {kStrValueTextMenuLink, kStrValueMenuLinkFile, kStrValueDeskLinkFile, kStrValuePageFile}) {
        SCOPED_TRACE(value);
        EXPECT_NE(product.String(Name(value)), L"C:\\elsewhere");
    }
    EXPECT_EQ(CRawKey(m_sharedDocPath).Dword(Name(kStrValueSharedDocUsers)), 2);
}

TEST_F(InstallRecords, ReadingStopsAtAMissingRequiredValue)
{
    {
        CInstallProbe install;
        PrepareInstall(install, 1, 1);
        ASSERT_EQ(install.WriteInstallState(), 1);
    }
    ASSERT_TRUE(CRawKey(m_productPath, KEY_WRITE).Delete(Name(kStrValueMenuLinkFile)));

    CInstallProbe reader;
    ASSERT_TRUE(reader.Start());
    reader.ReadInstallState();
    EXPECT_GT(reader.m_textFileRecorded.Length(), 0) << "read before the gap";
    EXPECT_GT(reader.m_textDeskLinkRecorded.Length(), 0);
    EXPECT_EQ(reader.m_productDocRecorded.Length(), 0) << "not read after the gap";
    EXPECT_EQ(reader.m_productDocVersion, 0u);
    EXPECT_EQ(reader.m_sharedDocRecorded.Length(), 0);
    EXPECT_EQ(reader.m_installerCopyRecorded.Length(), 0);
    EXPECT_EQ(reader.m_installedVersion, 0u) << "counts as not installed";
}

TEST_F(InstallRecords, UnusableSettingsAndWrongTypesAreIgnored)
{
    {
        CInstallProbe install;
        PrepareInstall(install, 1, 1);
        install.SetLayoutVariant(1);
        ASSERT_EQ(install.WriteInstallState(), 1);
    }
    {
        CRawKey layout(m_layoutPath, KEY_WRITE);
        ASSERT_TRUE(layout.SetDword(Name(kStrValueLayoutVariant), 3));
        ASSERT_TRUE(layout.SetDword(Name(kStrValueDecimalOption), 2));
        ASSERT_TRUE(layout.SetString(Name(kStrValueAltLibraries), L"1"));
        const uint64_t wide = 1;
        ASSERT_TRUE(layout.Set(Name(kStrValueAltLibrariesStored), REG_QWORD, &wide, sizeof wide));
        ASSERT_TRUE(layout.Delete(Name(kStrValueKeyOverrides)));
    }
    CInstallProbe reader;
    ASSERT_TRUE(reader.Start());
    const int variant = reader.m_layoutVariant;
    const int decimal = reader.m_decimalOption;
    reader.ReadInstallState();
    EXPECT_EQ(reader.m_installedVersion, 190u) << "the other records are still read";
    EXPECT_EQ(reader.m_layoutVariant, variant);
    EXPECT_EQ(reader.m_decimalOption, decimal);
    EXPECT_EQ(reader.m_altLibraries, 0);
    EXPECT_EQ(reader.m_altLibrariesStored, 0);
    for (int row = 0; row < kKeyCatalogueRows; ++row)
        ASSERT_EQ(reader.m_keys[row].m_virtualKey, 0) << "row " << row;

    // A required value of the wrong type counts as missing.
    const struct {
        std::wstring path;
        uint32_t value;
        DWORD type;
    } wrongTypes[] = {
        {m_layoutPath, kStrValueInstalledVersion, REG_BINARY},
        {m_layoutPath, kStrValueInstallerCopy, REG_EXPAND_SZ},
        {m_productPath, kStrValueProductUsers, REG_SZ},
    };
    for (const auto& row : wrongTypes) {
        SCOPED_TRACE(row.value);
        CRawKey key(row.path, KEY_READ | KEY_WRITE);
        const DWORD type = row.type == REG_BINARY || row.type == REG_SZ ? REG_DWORD : REG_SZ;
        std::vector<BYTE> saved = key.Bytes(Name(row.value), type);
        ASSERT_FALSE(saved.empty());
        const BYTE bytes[4] = {190, 0, 0, 0};
        if (row.type == REG_BINARY)
            ASSERT_TRUE(key.Set(Name(row.value), REG_BINARY, bytes, sizeof bytes));
        else
            ASSERT_TRUE(key.SetString(Name(row.value), L"190", row.type));
        CInstallProbe again;
        ASSERT_TRUE(again.Start());
        again.ReadInstallState();
        EXPECT_EQ(again.m_installedVersion, 0u);
        ASSERT_TRUE(key.Set(Name(row.value), type, saved.data(), static_cast<DWORD>(saved.size())));
    }
}

TEST_F(InstallRecords, EarlierReleaseRecognisedByTheWindowsLayoutEntry)
{
    HKEY entry = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_entryPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &entry,
                              nullptr),
              ERROR_SUCCESS);
    RegCloseKey(entry);
    CRawKey key(m_entryPath, KEY_WRITE);
    ASSERT_TRUE(key.SetString(Name(kStrValueLayoutText), Name(kStrLayoutName)));
    ASSERT_TRUE(key.SetString(Name(kStrValueLayoutDisplayName), Name(kStrLayoutDisplayName)));
    ASSERT_TRUE(key.SetString(Name(kStrValueLayoutFile), Name(kStrLayoutFileName)));

    CInstallProbe reader;
    ASSERT_TRUE(reader.Start());
    reader.ReadInstallState();
    EXPECT_EQ(reader.m_installedVersion, 130u);

    ASSERT_TRUE(key.SetString(Name(kStrValueLayoutFile), L"other.dll"));
    CInstallProbe other;
    ASSERT_TRUE(other.Start());
    other.ReadInstallState();
    EXPECT_EQ(other.m_installedVersion, 0u);
}

TEST_F(InstallRecords, ReconfigureRewritesOnlyTheSettingsOfAnInstalledLayout)
{
    CInstallProbe install;
    ASSERT_TRUE(install.Start());
    install.SetReconfigure(1);
    EXPECT_EQ(install.WriteInstallState(), 0) << "no layout key";
    EXPECT_FALSE(CRawKey(m_makerPath).Exists());
    {
        CInstallProbe first;
        PrepareInstall(first, 1, 1);
        ASSERT_EQ(first.WriteInstallState(), 1);
    }
    CRawKey(m_productPath, KEY_WRITE).SetDword(Name(kStrValueProductUsers), 7);
    install.ReadInstallState();
    install.SetLayoutVariant(1);
    install.m_productUsers = 3;
    ASSERT_EQ(install.WriteInstallState(), 1);
    EXPECT_EQ(CRawKey(m_layoutPath).Dword(Name(kStrValueLayoutVariant)), 1);
    EXPECT_EQ(CRawKey(m_productPath).Dword(Name(kStrValueProductUsers)), 7);
}

TEST_F(InstallRecords, RemovingTheLastOfTwoLayouts)
{
    CInstallProbe none;
    ASSERT_TRUE(none.Start());
    EXPECT_EQ(none.DeleteInstallState(), 0) << "nothing recorded";

    {
        CInstallProbe install;
        PrepareInstall(install, 2, 2);
        ASSERT_EQ(install.WriteInstallState(), 1);
    }
    CInstallProbe first;
    ASSERT_TRUE(first.Start());
    first.ReadInstallState();
    first.m_productUsers -= 1;
    first.m_sharedDocUsers -= 1;
    ASSERT_EQ(first.DeleteInstallState(), 1);
    EXPECT_FALSE(CRawKey(m_layoutPath).Exists());
    EXPECT_EQ(CRawKey(m_productPath).Dword(Name(kStrValueProductUsers)), 1);
    EXPECT_EQ(CRawKey(m_sharedDocPath).Dword(Name(kStrValueSharedDocUsers)), 1);

    {
        CInstallProbe install;
        PrepareInstall(install, 1, 1);
        ASSERT_EQ(install.WriteInstallState(), 1);
    }
    CInstallProbe last;
    ASSERT_TRUE(last.Start());
    last.ReadInstallState();
    last.m_productUsers -= 1;
    last.m_sharedDocUsers -= 1;
    ASSERT_EQ(last.DeleteInstallState(), 1);
    EXPECT_FALSE(CRawKey(m_productPath).Exists());
    EXPECT_FALSE(CRawKey(m_makerPath).Exists()) << "the empty maker key goes too";
    EXPECT_TRUE(CRawKey(Name(kStrRegBaseKey)).Exists());
}
