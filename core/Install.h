#pragma once
// The installer object: start-up checks, install paths, install records and teardown, on top of
// the string tables, key material and platform services of CInstallBase.

#include "core/InstallController.h"
#include "core/KeyCatalogue.h"
#include "embedded/InstallBase.h"
#include "embedded/StringTable.h"
#include "text/GString.h"

#include <cstdint>

class CInstall : public CInstallBase {
public:
    // The version of this release as recorded in the registry, and the one given to a system
    // where only the earlier release left its Windows layout entry.
    static constexpr uint32_t kReleaseVersion = 190;
    static constexpr uint32_t kEarlierReleaseVersion = 130;

    // controllerFactory makes the wizard controller during Init; without one the installer has no
    // controller and Run ends at once.
    explicit CInstall(InstallControllerFactory controllerFactory);
    ~CInstall() override;

    HWND GetOwnerWindow() const override;
    // Key material, the four string tables and the controller; 0 on any failure.
    int Init(HINSTANCE instance) override;
    void Cleanup() override;
    // The base tables first, then the installer table.
    const PackedString* FindString(uint32_t id) const override;

    // 1 when Finish is to follow, 0 when the program is to end at once.
    int Run();
    void Finish();
    int IsSupportedSystem() const;
    // 0 when another instance runs (it is brought to the foreground).
    int IsFirstInstance();
    int ShowMessage(uint32_t id, uint32_t type);
    int LoadLicenceText(const unsigned char* block, uint32_t length, GString& out);

    int GetLayoutVariant();
    int SetLayoutVariant(int variant);
    int GetDecimalOption();
    int SetDecimalOption(int option);
    int GetAltLibraries() const { return m_altLibraries; }
    void SetAltLibraries(int value) { m_altLibraries = value; }
    int SetReconfigure(int value);

    // 1 when the program's own path was obtained; every other path is formed in either case.
    int ComputePaths();

    void ReadInstallState();
    int WriteInstallState();
    int DeleteInstallState();

    void ReadScancodeMap();
    int WriteRunOnce();

protected:
    HKEY NestedKeyGet(HKEY product, uint32_t parentId, uint32_t childId, REGSAM access, bool create);
    int ReadProductRecords(HKEY product);
    int ReadSharedDocRecords(HKEY product);
    void ReadLayoutRecords(HKEY product);
    void ReadEarlierRelease();
    int WriteLayoutSettings(HKEY layout);
    int WriteProductRecords(HKEY product, GString& prevInputLocale);
    int WriteSharedDocRecords(HKEY product);
    int WriteLayoutRecords(HKEY product);
    void DestroyController();

    InstallControllerFactory m_controllerFactory;

    int16_t m_fallbackLanguage;
    uint16_t m_inputLanguage;
    int m_makeDefault;
    int m_assocMatches;
    int m_isAdmin;
    int m_removed;
    int m_installed;
    int m_restartRequested;
    int m_licenceAccepted;
    int m_disableHotkeys;
    int m_desktopShortcuts;
    int m_textDeskLinkMade;
    int m_sharedDocDeskLinkMade;
    int m_productDocDeskLinkMade;
    int m_layoutVariant;
    int m_decimalOption;
    int m_altLibraries;
    int m_altLibrariesStored;
    int m_reconfigure;
    int m_hadScancodeMap;
    ScanCodeEntry* m_keys;
    int m_keyCount;
    StringTable m_installerStrings;
    CInstallController* m_ui;

    GString m_languageName;
    GString m_prevInputLocaleRecorded;
    GString m_makerFolder;
    GString m_productFolder;
    GString m_menuMakerFolder;
    GString m_menuFolder;
    GString m_sharedDocRecorded;
    GString m_sharedDoc;
    GString m_sharedDocMenuLinkRecorded;
    GString m_sharedDocMenuLink;
    GString m_sharedDocDeskLinkRecorded;
    GString m_sharedDocDeskLink;
    GString m_productDocRecorded;
    GString m_productDoc;
    GString m_productDocMenuLinkRecorded;
    GString m_productDocMenuLink;
    GString m_productDocDeskLinkRecorded;
    GString m_productDocDeskLink;
    GString m_textFileRecorded;
    GString m_textFile;
    GString m_textMenuLinkRecorded;
    GString m_textMenuLink;
    GString m_textDeskLinkRecorded;
    GString m_textDeskLink;
    GString m_menuLinkFileRecorded;
    GString m_menuLinkFile;
    GString m_deskLinkFileRecorded;
    GString m_deskLinkFile;
    GString m_pageFileRecorded;
    GString m_pageFile;
    GString m_selfPath;
    GString m_maintenanceName;
    GString m_installerCopyRecorded;
    GString m_installerCopy;
    GString m_maintenanceLinkRecorded;
    GString m_maintenanceLink;

    uint32_t m_productDocVersion;
    uint32_t m_sharedDocVersion;
    int m_sharedDocUsers;
    uint32_t m_installedVersion;
    uint32_t m_productUsers;
};
