#include "core/Install.h"

#include "core/KeyTable.h"
#include "embedded/Payload.h"
#include "embedded/StringIds.h"

CInstall::CInstall(InstallControllerFactory controllerFactory)
    : CInstallBase(g_guardParameters),
      m_controllerFactory(controllerFactory),
      m_fallbackLanguage(0),
      m_inputLanguage(0),
      m_makeDefault(1),
      m_assocMatches(0),
      m_isAdmin(0),
      m_removed(0),
      m_installed(0),
      m_restartRequested(0),
      m_licenceAccepted(0),
      m_disableHotkeys(1),
      m_desktopShortcuts(1),
      m_textDeskLinkMade(0),
      m_sharedDocDeskLinkMade(0),
      m_productDocDeskLinkMade(0),
      m_layoutVariant(-1),
      m_decimalOption(-1),
      m_altLibraries(0),
      m_altLibrariesStored(0),
      m_reconfigure(0),
      m_hadScancodeMap(0),
      m_keys(new ScanCodeEntry[kKeyCatalogueRows]),
      m_keyCount(kKeyCatalogueRows),
      m_ui(nullptr),
      m_productDocVersion(0),
      m_sharedDocVersion(0),
      m_sharedDocUsers(0),
      m_installedVersion(0),
      m_productUsers(0)
{
    InitKeyTable(m_keys);
}

CInstall::~CInstall()
{
    CInstall::Cleanup();
    DestroyController();
    delete[] m_keys;
}

void CInstall::DestroyController()
{
    if (m_ui == nullptr)
        return;
    m_ui->DestroyWindows();
    delete m_ui;
    m_ui = nullptr;
}

HWND CInstall::GetOwnerWindow() const
{
    return m_ui != nullptr ? m_ui->MainWindowHandle() : nullptr;
}

void CInstall::Cleanup()
{
    CInstallBase::Cleanup();
    m_installerStrings.Reset();
}

const PackedString* CInstall::FindString(uint32_t id) const
{
    const PackedString* text = CInstallBase::FindString(id);
    return text != nullptr ? text : m_installerStrings.Find(id);
}

int CInstall::ShowMessage(uint32_t id, uint32_t type)
{
    return m_ui != nullptr ? m_ui->MessageBoxId(id, type) : 0;
}

int CInstall::LoadLicenceText(const unsigned char* block, uint32_t length, GString& out)
{
    if (block == nullptr || length == 0)
        return 0;
    unsigned char* text = m_guard.Unpack(block, length, nullptr);
    if (text == nullptr)
        return 0;
    uint32_t skip = length > 2 && text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF ? 3 : 0;
    int result = out.AssignUtf8(reinterpret_cast<const char*>(text + skip), static_cast<int>(length - skip));
    delete[] text;
    return result;
}

int CInstall::GetLayoutVariant()
{
    if (m_layoutVariant >= 0)
        return m_layoutVariant;
    GString marker;
    GString name;
    int variant = 0;
    if (GetString(kStrDefaultVariantMarker, marker)) {
        static const uint32_t kNames[kLayoutVariantCount] = {kStrVariantName0, kStrVariantName1, kStrVariantName2};
        for (int i = 0; i < kLayoutVariantCount; ++i) {
            if (GetString(kNames[i], name) && name.Find(marker, 0) >= 0) {
                variant = i;
                break;
            }
        }
    }
    m_layoutVariant = variant;
    return variant;
}

int CInstall::SetLayoutVariant(int variant)
{
    if (variant >= 0 && variant < kLayoutVariantCount)
        m_layoutVariant = variant;
    return variant;
}

int CInstall::GetDecimalOption()
{
    if (m_decimalOption >= 0)
        return m_decimalOption;
    int size = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, nullptr, 0);
    if (size <= 0)
        return -1;
    wchar_t* separator = new wchar_t[size];
    int read = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, size);
    if (read > 0)
        m_decimalOption = separator[0] == L',' && separator[1] == 0 ? 0 : 1;
    delete[] separator;
    if (read <= 0)
        return -1;
    return m_decimalOption;
}

int CInstall::SetDecimalOption(int option)
{
    if (option == 0 || option == 1)
        m_decimalOption = option;
    return option;
}

int CInstall::SetReconfigure(int value)
{
    m_reconfigure = value;
    if (value != 0)
        m_licenceAccepted = 1;
    return value;
}
