#include "core/Install.h"

#include "core/ScanCodeMap.h"
#include "embedded/Payload.h"
#include "embedded/StringIds.h"
#include "text/WideView.h"

#include <cwchar>
#include <cstdlib>

namespace {

constexpr LANGID kLanguagePolish = 0x0415;
constexpr uint32_t kStyleWarning = MB_ICONWARNING;

int AttachBlock(const CGuard& guard, StringTable& table, const EmbeddedBlock& block)
{
    uint32_t length = block.storedLength;
    uint32_t count = 0;
    unsigned char* buffer = guard.Unpack(block.bytes, length, &count);
    if (buffer == nullptr)
        return 0;
    if (!table.Attach(buffer, static_cast<int32_t>(count), length)) {
        delete[] buffer;
        return 0;
    }
    return 1;
}

}  // namespace

int CInstall::Init(HINSTANCE instance)
{
    CInstallBase::Init(instance);
    if (!m_guard.Load(g_keyMaterial.bytes, static_cast<int32_t>(g_keyMaterial.storedLength)))
        return 0;
    if (!AttachBlock(m_guard, m_defaultStrings, g_defaultStrings) ||
        !AttachBlock(m_guard, m_installerStrings, g_installerStrings) ||
        !AttachBlock(m_guard, m_languageStrings[0], g_languageStrings[0]) ||
        !AttachBlock(m_guard, m_languageStrings[1], g_languageStrings[1]))
        return 0;
    if (m_controllerFactory != nullptr) {
        m_ui = m_controllerFactory(this);
        if (m_ui == nullptr || !m_ui->Init(instance))
            return 0;
    }
    // Read as a hexadecimal number, the way "%X" scans: the field converts when a digit is read.
    if (GetString(kStrFallbackInputLanguage, m_text)) {
        const wchar_t* text = AsWide(m_text.GetW());
        wchar_t* end = nullptr;
        const unsigned long language = std::wcstoul(text, &end, 16);
        if (end != text)
            m_fallbackLanguage = static_cast<int16_t>(language & 0xFFFF);
    }
    GetLayoutVariant();
    GetDecimalOption();
    return 1;
}

int CInstall::Run()
{
    if (m_ui == nullptr)
        return 0;
    SetLanguage(GetUserDefaultLangID() == kLanguagePolish ? 1 : 0);
    SystemInfoRead(kStrEntryNativeSystemInfo, kStrSystemLibrary);
    if (!IsSupportedSystem()) {
        ShowMessage(kStrMsgUnsupportedSystem, kStyleWarning);
        return 0;
    }
    m_inputLanguage = m_osVersion >= 60 ? GetUserDefaultLangID() : static_cast<uint16_t>(m_fallbackLanguage);
    if (m_osVersion < 51)
        m_makeDefault = 0;
    if (!IsFirstInstance())
        return 0;
    ComputePaths();
    m_assocMatches = AssocExecutableContains(kStrDocumentExtension, kStrAssocProgramMarker);
    m_isAdmin = IsAdministrator();
    if (!m_isAdmin) {
        ShowMessage(kStrMsgNotAdmin, 0);
        return 1;
    }
    ReadScancodeMap();
    ReadInstallState();
    return m_ui->Run() ? 1 : 0;
}

void CInstall::Finish()
{
    DestroyController();
    if (m_removed || m_installed)
        WriteRunOnce();
    Cleanup();
    if (m_restartRequested)
        RestartSystem();
}

int CInstall::IsSupportedSystem() const
{
    const uint16_t architecture = m_processorArchitecture;
    switch (m_osVersion) {
    case 50:
    case 51:
        return architecture == PROCESSOR_ARCHITECTURE_INTEL;
    case 52:
    case 60:
    case 61:
    case 62:
    case 63:
    case 100:
        return architecture == PROCESSOR_ARCHITECTURE_INTEL || architecture == PROCESSOR_ARCHITECTURE_IA64 ||
               architecture == PROCESSOR_ARCHITECTURE_AMD64;
    default:
        return 0;
    }
}

int CInstall::IsFirstInstance()
{
    if (!GetString(kStrWindowClass, m_text))
        return 1;
    HWND window = FindWindowW(AsWide(m_text.GetW()), nullptr);
    if (window == nullptr)
        return 1;
    SetForegroundWindow(window);
    return 0;
}

void CInstall::ReadScancodeMap()
{
    HKEY key = RegKeyOpen(HKEY_LOCAL_MACHINE, kStrRegScancodeMapKey, KEY_READ);
    if (key == nullptr)
        return;
    uint32_t length = 0;
    unsigned char* value = RegValueGetBinary(key, kStrValueScancodeMap, length);
    if (value != nullptr) {
        m_hadScancodeMap = 1;
        ApplyScancodeMap(m_keys, m_keyCount, value, length);
        delete[] value;
    }
    RegCloseKey(key);
}

int CInstall::WriteRunOnce()
{
    HKEY key = RegKeyOpen(HKEY_LOCAL_MACHINE, kStrRegRunOnceKey, KEY_SET_VALUE | KEY_CREATE_SUB_KEY);
    if (key == nullptr)
        return 0;
    int result = RegValueSetString(key, kStrValueRunOnce, m_osVersion > 50 ? kStrRunOnceCommand : kStrRunOnceCommandOldSystem);
    RegCloseKey(key);
    return result;
}
