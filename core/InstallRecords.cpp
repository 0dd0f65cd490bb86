#include "core/Install.h"

#include "core/KeyTable.h"
#include "embedded/StringIds.h"
#include "text/WideView.h"

namespace {

// Keys of the records as they are opened, closed together at the end of an operation.
struct CRecordKeys {
    HKEY m_base = nullptr;
    HKEY m_maker = nullptr;
    HKEY m_product = nullptr;
    HKEY m_layoutParent = nullptr;
    HKEY m_layout = nullptr;

    CRecordKeys() = default;
    CRecordKeys(const CRecordKeys&) = delete;
    CRecordKeys& operator=(const CRecordKeys&) = delete;
    ~CRecordKeys()
    {
        Close(m_layout);
        Close(m_layoutParent);
        Close(m_product);
        Close(m_maker);
        Close(m_base);
    }
    static void Close(HKEY& key)
    {
        if (key != nullptr)
            RegCloseKey(key);
        key = nullptr;
    }
};

constexpr REGSAM kReadAccess = KEY_READ;
constexpr REGSAM kWriteAccess = KEY_WRITE;

}  // namespace

void CInstall::ReadInstallState()
{
    m_installedVersion = 0;
    {
        CRecordKeys keys;
        keys.m_base = RegKeyOpen(HKEY_LOCAL_MACHINE, kStrRegBaseKey, kReadAccess);
        if (keys.m_base != nullptr)
            keys.m_maker = RegKeyOpen(keys.m_base, kStrRegMakerKey, kReadAccess);
        if (keys.m_maker != nullptr)
            keys.m_product = RegKeyOpen(keys.m_maker, kStrRegProductKey, kReadAccess);
        if (keys.m_product != nullptr && ReadProductRecords(keys.m_product) && ReadSharedDocRecords(keys.m_product))
            ReadLayoutRecords(keys.m_product);
    }
    if (m_installedVersion == 0)
        ReadEarlierRelease();
}

// The chain of the product key; 0 at the first missing required value.
int CInstall::ReadProductRecords(HKEY product)
{
    if (!RegValueGetString(product, kStrValuePrevInputLocale, m_prevInputLocaleRecorded) ||
        !RegValueGetDword(product, kStrValueProductUsers, m_productUsers) ||
        !RegValueGetString(product, kStrValueTextFile, m_textFileRecorded))
        return 0;
    RegValueGetString(product, kStrValueTextMenuLink, m_textMenuLinkRecorded);
    RegValueGetString(product, kStrValueTextDeskLink, m_textDeskLinkRecorded);
    if (!RegValueGetString(product, kStrValueMenuLinkFile, m_menuLinkFileRecorded))
        return 0;
    RegValueGetString(product, kStrValueDeskLinkFile, m_deskLinkFileRecorded);
    if (!RegValueGetString(product, kStrValueProductDoc, m_productDocRecorded) ||
        !RegValueGetString(product, kStrValueProductDocMenuLink, m_productDocMenuLinkRecorded))
        return 0;
    RegValueGetString(product, kStrValueProductDocDeskLink, m_productDocDeskLinkRecorded);
    return RegValueGetString(product, kStrValuePageFile, m_pageFileRecorded) &&
           RegValueGetDword(product, kStrValueProductDocVersion, m_productDocVersion);
}

// The records keep their shared document and layout one key below a grouping key; only the
// inner key stays open.
HKEY CInstall::NestedKeyGet(HKEY product, uint32_t parentId, uint32_t childId, REGSAM access, bool create)
{
    HKEY parent = create ? RegKeyCreate(product, parentId, access) : RegKeyOpen(product, parentId, access);
    if (parent == nullptr)
        return nullptr;
    HKEY child = create ? RegKeyCreate(parent, childId, access) : RegKeyOpen(parent, childId, access);
    RegCloseKey(parent);
    return child;
}

// 0 only when the key exists and a required value is missing: that ends all reading.
int CInstall::ReadSharedDocRecords(HKEY product)
{
    HKEY document = NestedKeyGet(product, kStrRegSharedDocParentKey, kStrRegSharedDocKey, kReadAccess, false);
    if (document == nullptr)
        return 1;
    uint32_t users = 0;
    int complete = RegValueGetString(document, kStrValueSharedDoc, m_sharedDocRecorded) &&
                   RegValueGetString(document, kStrValueSharedDocMenuLink, m_sharedDocMenuLinkRecorded);
    if (complete) {
        RegValueGetString(document, kStrValueSharedDocDeskLink, m_sharedDocDeskLinkRecorded);
        complete = RegValueGetDword(document, kStrValueSharedDocVersion, m_sharedDocVersion) &&
                   RegValueGetDword(document, kStrValueSharedDocUsers, users);
        if (complete)
            m_sharedDocUsers = static_cast<int>(users);
    }
    RegCloseKey(document);
    return complete;
}

void CInstall::ReadLayoutRecords(HKEY product)
{
    HKEY layout = NestedKeyGet(product, kStrRegLayoutParentKey, kStrRegLayoutKey, kReadAccess, false);
    if (layout == nullptr)
        return;
    if (RegValueGetString(layout, kStrValueInstallerCopy, m_installerCopyRecorded) &&
        RegValueGetString(layout, kStrValueMaintenanceLink, m_maintenanceLinkRecorded) &&
        RegValueGetDword(layout, kStrValueInstalledVersion, m_installedVersion)) {
        uint32_t length = 0;
        unsigned char* overrides = RegValueGetBinary(layout, kStrValueKeyOverrides, length);
        if (overrides != nullptr) {
            ApplyKeyOverrides(m_keys, m_keyCount, overrides, length);
            delete[] overrides;
        }
        uint32_t value = 0;
        if (RegValueGetDword(layout, kStrValueLayoutVariant, value) && value < uint32_t(kLayoutVariantCount))
            m_layoutVariant = static_cast<int>(value);
        if (RegValueGetDword(layout, kStrValueDecimalOption, value) && value <= 1)
            m_decimalOption = static_cast<int>(value);
        if (RegValueGetDword(layout, kStrValueAltLibraries, value) && value <= 1)
            m_altLibraries = static_cast<int>(value);
        if (RegValueGetDword(layout, kStrValueAltLibrariesStored, value) && value <= 1)
            m_altLibrariesStored = static_cast<int>(value);
    }
    RegCloseKey(layout);
}

// The earlier release left only the Windows layout entry, with this release's texts.
void CInstall::ReadEarlierRelease()
{
    GString path;
    GString name;
    if (!GetString(kStrRegWindowsLayoutsKey, path) || !GetString(kStrLayoutKeyName, name))
        return;
    path.AppendPath(name);
    const REGSAM access = kReadAccess | (m_osVersion > 50 ? KEY_WOW64_64KEY : 0);
    HKEY entry = RegKeyOpen(HKEY_LOCAL_MACHINE, path.GetW(), access);
    if (entry == nullptr)
        return;
    static const uint32_t kPairs[][2] = {
        {kStrValueLayoutText, kStrLayoutName},
        {kStrValueLayoutDisplayName, kStrLayoutDisplayName},
        {kStrValueLayoutFile, kStrLayoutFileName},
    };
    int matches = 1;
    for (const auto& pair : kPairs) {
        if (!GetString(pair[1], name) || !RegValueEquals(entry, pair[0], name)) {
            matches = 0;
            break;
        }
    }
    RegCloseKey(entry);
    if (matches)
        m_installedVersion = kEarlierReleaseVersion;
}

int CInstall::WriteLayoutSettings(HKEY layout)
{
    if (!RegValueSetDword(layout, kStrValueLayoutVariant, static_cast<uint32_t>(m_layoutVariant)) ||
        !RegValueSetDword(layout, kStrValueDecimalOption, static_cast<uint32_t>(m_decimalOption)) ||
        !RegValueSetDword(layout, kStrValueAltLibraries, static_cast<uint32_t>(m_altLibraries)) ||
        !RegValueSetDword(layout, kStrValueAltLibrariesStored, static_cast<uint32_t>(m_altLibrariesStored)))
        return 0;
    uint32_t length = 0;
    unsigned char* overrides = BuildKeyOverrides(m_keys, m_keyCount, length);
    if (overrides != nullptr) {
        RegValueSetBinary(layout, kStrValueKeyOverrides, overrides, length);
        delete[] overrides;
    }
    return 1;
}

int CInstall::WriteInstallState()
{
    CRecordKeys keys;
    if (m_reconfigure) {
        keys.m_base = RegKeyOpen(HKEY_LOCAL_MACHINE, kStrRegBaseKey, kWriteAccess);
        if (keys.m_base != nullptr)
            keys.m_maker = RegKeyOpen(keys.m_base, kStrRegMakerKey, kWriteAccess);
        if (keys.m_maker != nullptr)
            keys.m_product = RegKeyOpen(keys.m_maker, kStrRegProductKey, kWriteAccess);
        if (keys.m_product != nullptr)
            keys.m_layoutParent = RegKeyOpen(keys.m_product, kStrRegLayoutParentKey, kWriteAccess);
        if (keys.m_layoutParent != nullptr)
            keys.m_layout = RegKeyOpen(keys.m_layoutParent, kStrRegLayoutKey, kWriteAccess);
        return keys.m_layout != nullptr && WriteLayoutSettings(keys.m_layout);
    }

    GString prevInputLocale;
    if (m_prevInputLocaleRecorded.Length() == 0) {
        wchar_t layoutName[KL_NAMELENGTH + 1] = {};
        if (!GetKeyboardLayoutNameW(layoutName))
            return 0;
        GString format;
        GetString(kStrPrevInputLocaleFormat, format);
        prevInputLocale.Format(format.GetW(), static_cast<unsigned>(GetUserDefaultLangID()), AsChar16(layoutName));
    }
    keys.m_base = RegKeyOpen(HKEY_LOCAL_MACHINE, kStrRegBaseKey, kWriteAccess);
    if (keys.m_base == nullptr)
        return 0;
    keys.m_maker = RegKeyCreate(keys.m_base, kStrRegMakerKey, kWriteAccess);
    if (keys.m_maker != nullptr)
        keys.m_product = RegKeyCreate(keys.m_maker, kStrRegProductKey, kWriteAccess);
    if (keys.m_product == nullptr)
        return 0;
    return WriteProductRecords(keys.m_product, prevInputLocale) && WriteSharedDocRecords(keys.m_product) &&
           WriteLayoutRecords(keys.m_product);
}

int CInstall::WriteProductRecords(HKEY product, GString& prevInputLocale)
{
    if (prevInputLocale.Length() > 0 && !RegValueSetString(product, kStrValuePrevInputLocale, prevInputLocale))
        return 0;
    if (!RegValueSetDword(product, kStrValueProductUsers, m_productUsers))
        return 0;
    if (m_textMenuLinkRecorded.Length() == 0 &&
        (!RegValueSetString(product, kStrValueTextMenuLink, m_textMenuLink) ||
         !RegValueSetString(product, kStrValueTextFile, m_textFile)))
        return 0;
    if (m_textDeskLinkMade && !RegValueSetString(product, kStrValueTextDeskLink, m_textDeskLink))
        return 0;
    if (m_menuLinkFileRecorded.Length() == 0 &&
        (!RegValueSetString(product, kStrValueMenuLinkFile, m_menuLinkFile) ||
         !RegValueSetString(product, kStrValueDeskLinkFile, m_deskLinkFile) ||
         !RegValueSetString(product, kStrValuePageFile, m_pageFile)))
        return 0;
    if (m_productDocVersion < kReleaseVersion) {
        if (!RegValueSetString(product, kStrValueProductDoc, m_productDoc) ||
            !RegValueSetString(product, kStrValueProductDocMenuLink, m_productDocMenuLink))
            return 0;
        if (m_productDocDeskLinkMade && !RegValueSetString(product, kStrValueProductDocDeskLink, m_productDocDeskLink))
            return 0;
        RegValueSetDword(product, kStrValueProductDocVersion, kReleaseVersion);
    }
    return 1;
}

int CInstall::WriteSharedDocRecords(HKEY product)
{
    HKEY document = NestedKeyGet(product, kStrRegSharedDocParentKey, kStrRegSharedDocKey, kWriteAccess, true);
    if (document == nullptr)
        return 0;
    int result = RegValueSetString(document, kStrValueSharedDoc, m_sharedDoc) &&
                 RegValueSetString(document, kStrValueSharedDocMenuLink, m_sharedDocMenuLink) &&
                 (!m_sharedDocDeskLinkMade || RegValueSetString(document, kStrValueSharedDocDeskLink, m_sharedDocDeskLink)) &&
                 RegValueSetDword(document, kStrValueSharedDocVersion, kReleaseVersion) &&
                 RegValueSetDword(document, kStrValueSharedDocUsers, static_cast<uint32_t>(m_sharedDocUsers));
    RegCloseKey(document);
    return result;
}

int CInstall::WriteLayoutRecords(HKEY product)
{
    HKEY layout = NestedKeyGet(product, kStrRegLayoutParentKey, kStrRegLayoutKey, kWriteAccess, true);
    if (layout == nullptr)
        return 0;
    int result = RegValueSetString(layout, kStrValueInstallerCopy, m_installerCopy) &&
                 RegValueSetString(layout, kStrValueMaintenanceLink, m_maintenanceLink) &&
                 RegValueSetDword(layout, kStrValueInstalledVersion, kReleaseVersion) && WriteLayoutSettings(layout);
    RegCloseKey(layout);
    return result;
}

int CInstall::DeleteInstallState()
{
    CRecordKeys keys;
    keys.m_base = RegKeyOpen(HKEY_LOCAL_MACHINE, kStrRegBaseKey, kWriteAccess);
    if (keys.m_base != nullptr)
        keys.m_maker = RegKeyOpen(keys.m_base, kStrRegMakerKey, kWriteAccess);
    if (keys.m_maker != nullptr)
        keys.m_product = RegKeyOpen(keys.m_maker, kStrRegProductKey, kWriteAccess);
    if (keys.m_product != nullptr)
        keys.m_layoutParent = RegKeyOpen(keys.m_product, kStrRegLayoutParentKey, kWriteAccess);
    if (keys.m_layoutParent != nullptr)
        keys.m_layout = RegKeyOpen(keys.m_layoutParent, kStrRegLayoutKey, kWriteAccess);
    if (keys.m_layout == nullptr)
        return 0;

    static const uint32_t kLayoutValues[] = {kStrValueInstallerCopy, kStrValueMaintenanceLink, kStrValueInstalledVersion};
    for (uint32_t name : kLayoutValues)
        RegValueDelete(keys.m_layout, name);
    CRecordKeys::Close(keys.m_layout);
    RegKeyDelete(keys.m_layoutParent, kStrRegLayoutKey);
    CRecordKeys::Close(keys.m_layoutParent);
    RegKeyDelete(keys.m_product, kStrRegLayoutParentKey);

    HKEY parent = RegKeyOpen(keys.m_product, kStrRegSharedDocParentKey, kWriteAccess);
    if (parent != nullptr) {
        HKEY document = RegKeyOpen(parent, kStrRegSharedDocKey, kWriteAccess);
        if (m_sharedDocUsers > 0) {
            if (document != nullptr)
                RegValueSetDword(document, kStrValueSharedDocUsers, static_cast<uint32_t>(m_sharedDocUsers));
        } else {
            if (document != nullptr) {
                static const uint32_t kDocumentValues[] = {kStrValueSharedDoc, kStrValueSharedDocMenuLink,
                                                           kStrValueSharedDocDeskLink, kStrValueSharedDocVersion,
                                                           kStrValueSharedDocUsers};
                for (uint32_t name : kDocumentValues)
                    RegValueDelete(document, name);
                CRecordKeys::Close(document);
            }
            RegKeyDelete(parent, kStrRegSharedDocKey);
            RegKeyDelete(keys.m_product, kStrRegSharedDocParentKey);
        }
        CRecordKeys::Close(document);
        RegCloseKey(parent);
    }

    if (m_productUsers > 0) {
        RegValueSetDword(keys.m_product, kStrValueProductUsers, m_productUsers);
    } else {
        static const uint32_t kProductValues[] = {
            kStrValuePrevInputLocale, kStrValueProductUsers, kStrValueTextMenuLink, kStrValueTextFile,
            kStrValueTextDeskLink, kStrValueMenuLinkFile, kStrValueDeskLinkFile, kStrValueProductDoc,
            kStrValueProductDocMenuLink, kStrValueProductDocDeskLink, kStrValuePageFile, kStrValueProductDocVersion,
        };
        for (uint32_t name : kProductValues)
            RegValueDelete(keys.m_product, name);
        CRecordKeys::Close(keys.m_product);
        RegKeyDelete(keys.m_maker, kStrRegProductKey);
        CRecordKeys::Close(keys.m_maker);
        RegKeyDelete(keys.m_base, kStrRegMakerKey);
    }
    return 1;
}
