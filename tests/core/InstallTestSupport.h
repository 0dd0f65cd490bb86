#pragma once
// Shared pieces of the installer tests: an installer whose fields the tests read and set, started
// on the real payload, and raw registry access beside the operations under test.

#include "core/Install.h"
#include "embedded/StringIds.h"
#include "text/WideView.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <cstdint>
#include <string>
#include <vector>

// The installer with its state opened to the tests.
class CInstallProbe : public CInstall {
public:
    explicit CInstallProbe(InstallControllerFactory factory = nullptr) : CInstall(factory) {}

    using CInstall::m_altLibraries;
    using CInstall::m_altLibrariesStored;
    using CInstall::m_decimalOption;
    using CInstall::m_deskLinkFile;
    using CInstall::m_deskLinkFileRecorded;
    using CInstall::m_fallbackLanguage;
    using CInstall::m_hadScancodeMap;
    using CInstall::m_installed;
    using CInstall::m_installedVersion;
    using CInstall::m_installerCopy;
    using CInstall::m_installerCopyRecorded;
    using CInstall::m_isAdmin;
    using CInstall::m_keys;
    using CInstall::m_layoutVariant;
    using CInstall::m_maintenanceLink;
    using CInstall::m_maintenanceLinkRecorded;
    using CInstall::m_maintenanceName;
    using CInstall::m_makerFolder;
    using CInstall::m_menuFolder;
    using CInstall::m_menuLinkFile;
    using CInstall::m_menuLinkFileRecorded;
    using CInstall::m_pageFile;
    using CInstall::m_pageFileRecorded;
    using CInstall::m_prevInputLocaleRecorded;
    using CInstall::m_productDoc;
    using CInstall::m_productDocDeskLink;
    using CInstall::m_productDocDeskLinkMade;
    using CInstall::m_productDocDeskLinkRecorded;
    using CInstall::m_productDocMenuLink;
    using CInstall::m_productDocMenuLinkRecorded;
    using CInstall::m_productDocRecorded;
    using CInstall::m_productDocVersion;
    using CInstall::m_productFolder;
    using CInstall::m_productUsers;
    using CInstall::m_reconfigure;
    using CInstall::m_selfPath;
    using CInstall::m_sharedDoc;
    using CInstall::m_sharedDocDeskLink;
    using CInstall::m_sharedDocDeskLinkMade;
    using CInstall::m_sharedDocDeskLinkRecorded;
    using CInstall::m_sharedDocMenuLink;
    using CInstall::m_sharedDocMenuLinkRecorded;
    using CInstall::m_sharedDocRecorded;
    using CInstall::m_sharedDocUsers;
    using CInstall::m_sharedDocVersion;
    using CInstall::m_textDeskLink;
    using CInstall::m_textDeskLinkMade;
    using CInstall::m_textDeskLinkRecorded;
    using CInstall::m_textFile;
    using CInstall::m_textFileRecorded;
    using CInstall::m_textMenuLink;
    using CInstall::m_textMenuLinkRecorded;
    using CInstall::m_ui;

    void SetSystem(int32_t version, uint16_t architecture)
    {
        m_osVersion = version;
        m_processorArchitecture = architecture;
    }

    // Init on the real payload, with the version code and processor of this system.
    bool Start()
    {
        if (!Init(GetModuleHandleW(nullptr)))
            return false;
        SystemInfoRead(kStrEntryNativeSystemInfo, kStrSystemLibrary);
        return true;
    }

    std::wstring Text(uint32_t id)
    {
        GString text;
        GetString(id, text);
        return text.Length() > 0 ? std::wstring(AsWide(text.GetW())) : std::wstring();
    }
};

inline std::wstring Wide(const GString& text)
{
    return text.Length() > 0 ? std::wstring(AsWide(text.GetW())) : std::wstring();
}

// Raw registry access under HKEY_LOCAL_MACHINE, by path.
class CRawKey {
public:
    CRawKey(const std::wstring& path, REGSAM access = KEY_READ)
    {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~CRawKey()
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    CRawKey(const CRawKey&) = delete;
    CRawKey& operator=(const CRawKey&) = delete;

    bool Exists() const { return m_key != nullptr; }
    bool Has(const std::wstring& name) const
    {
        return m_key != nullptr && RegQueryValueExW(m_key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
    std::wstring String(const std::wstring& name) const
    {
        std::vector<BYTE> bytes = Bytes(name, REG_SZ);
        if (bytes.size() < sizeof(wchar_t))
            return std::wstring();
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t) - 1);
    }
    // -1 when the value is not a DWORD.
    int64_t Dword(const std::wstring& name) const
    {
        std::vector<BYTE> bytes = Bytes(name, REG_DWORD);
        if (bytes.size() != 4)
            return -1;
        return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | int64_t(bytes[3]) << 24;
    }
    std::vector<BYTE> Bytes(const std::wstring& name, DWORD wantedType) const
    {
        DWORD type = 0;
        DWORD size = 0;
        if (m_key == nullptr || RegQueryValueExW(m_key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != wantedType)
            return {};
        std::vector<BYTE> bytes(size);
        if (size > 0 && RegQueryValueExW(m_key, name.c_str(), nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS)
            return {};
        bytes.resize(size);
        return bytes;
    }
    bool Set(const std::wstring& name, DWORD type, const void* data, DWORD size)
    {
        return m_key != nullptr &&
               RegSetValueExW(m_key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    }
    bool SetDword(const std::wstring& name, DWORD value) { return Set(name, REG_DWORD, &value, sizeof value); }
    bool SetString(const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ)
    {
        return Set(name, type, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    bool Delete(const std::wstring& name) { return m_key != nullptr && RegDeleteValueW(m_key, name.c_str()) == ERROR_SUCCESS; }

private:
    HKEY m_key = nullptr;
};
