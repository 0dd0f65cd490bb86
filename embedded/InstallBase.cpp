#include "embedded/InstallBase.h"

CInstallBase::CInstallBase(const GuardParameters& guardParameters)
    : m_hInstance(nullptr),
      m_guard(guardParameters),
      m_stage(0),
      m_osVersion(0),
      m_language(0),
      m_is64Bit(0),
      m_processorArchitecture(0xFFFF)
{
}

CInstallBase::~CInstallBase()
{
    CInstallBase::Cleanup();
}

HWND CInstallBase::GetOwnerWindow() const { return nullptr; }

int CInstallBase::Init(HINSTANCE instance)
{
    m_hInstance = instance;
    return 1;
}

void CInstallBase::Cleanup()
{
    m_defaultStrings.Reset();
    for (StringTable& table : m_languageStrings)
        table.Reset();
    m_guard.Clear();
}

const PackedString* CInstallBase::FindString(uint32_t id) const
{
    const PackedString* text = m_languageStrings[m_language].Find(id);
    return text != nullptr ? text : m_defaultStrings.Find(id);
}

int CInstallBase::GetString(uint32_t id, GString& out)
{
    out.Clear();
    const PackedString* text = FindString(id);
    if (text == nullptr || !out.AssignPacked(text))
        return 0;
    return out.ToWide() != nullptr ? 1 : 0;
}

int CInstallBase::SetLanguage(uint32_t index)
{
    if (index >= uint32_t(kLanguageCount))
        return 0;
    m_language = static_cast<int32_t>(index);
    return 1;
}
