// Registry wrappers of CInstallBase. The Win32 status is reduced to a key or null, a buffer or
// null, 1 or 0; the by-id forms load the name into m_text (or a local string) and touch no key
// when no table holds the id.
#include "embedded/InstallBase.h"
#include "platform/HandleCloser.h"
#include "text/WideView.h"

namespace {

bool IsEmpty(const char16_t* text)
{
    return text == nullptr || *text == 0;
}

} // namespace

HKEY CInstallBase::RegKeyOpen(HKEY root, const char16_t* subkey, REGSAM access)
{
    // An empty subkey name would give a second handle to the root itself.
    if (root == nullptr || IsEmpty(subkey))
        return nullptr;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, AsWide(subkey), 0, access, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CInstallBase::RegKeyCreate(HKEY root, const char16_t* subkey, REGSAM access)
{
    if (root == nullptr || IsEmpty(subkey))
        return nullptr;
    HKEY key = nullptr;
    LONG status =
        RegCreateKeyExW(root, AsWide(subkey), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return nullptr;
    return key;
}

int CInstallBase::RegValueSetBinary(HKEY key, const char16_t* name, const void* data, uint32_t size)
{
    LONG status = RegSetValueExW(key, AsWide(name), 0, REG_BINARY, static_cast<const BYTE*>(data), size);
    return status == ERROR_SUCCESS ? 1 : 0;
}

unsigned char* CInstallBase::RegValueGetBinary(HKEY key, const char16_t* name, uint32_t& size)
{
    size = 0;
    DWORD type = 0;
    DWORD length = 0;
    LONG status = RegQueryValueExW(key, AsWide(name), nullptr, &type, nullptr, &length);
    if ((status != ERROR_SUCCESS && status != ERROR_MORE_DATA) || length == 0 || type != REG_BINARY)
        return nullptr;
    size = length;
    unsigned char* buffer = new unsigned char[length];
    DWORD readLength = length;
    if (RegQueryValueExW(key, AsWide(name), nullptr, &type, buffer, &readLength) == ERROR_SUCCESS &&
        readLength == length && type == REG_BINARY)
        return buffer;
    delete[] buffer;
    return nullptr;
}

int CInstallBase::RegValueSetDword(HKEY key, const char16_t* name, uint32_t value)
{
    DWORD data = value;
    LONG status = RegSetValueExW(key, AsWide(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    return status == ERROR_SUCCESS ? 1 : 0;
}

int CInstallBase::RegValueGetDword(HKEY key, const char16_t* name, uint32_t& value)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD length = sizeof data;
    LONG status = RegQueryValueExW(key, AsWide(name), nullptr, &type, reinterpret_cast<BYTE*>(&data), &length);
    if (status != ERROR_SUCCESS || type != REG_DWORD || length != sizeof data)
        return 0;
    value = data;
    return 1;
}

int CInstallBase::RegValueSetString(HKEY key, const char16_t* name, GString& value)
{
    if (key == nullptr || IsEmpty(name))
        return 0;
    const char16_t* text = value.ToWide();
    if (text == nullptr)
        return 0;
    // The terminator is stored with the text.
    const uint64_t bytes = (uint64_t(value.Length()) + 1) * sizeof(char16_t);
    if (bytes > MAXDWORD)
        return 0;
    LONG status = RegSetValueExW(key, AsWide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(text), DWORD(bytes));
    return status == ERROR_SUCCESS ? 1 : 0;
}

int CInstallBase::RegValueGetString(HKEY key, const char16_t* name, GString& out)
{
    if (key == nullptr || IsEmpty(name))
        return 0;
    out.AssignW(nullptr, 0);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, AsWide(name), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ)
        return 0;
    if (bytes == 0)
        return 1;
    // The room holds bytes / 2 units plus the terminator, so an odd byte count fits too.
    char16_t* buffer = out.AppendBufferW(int(bytes / 2));
    if (buffer == nullptr)
        return 0;
    DWORD readBytes = bytes;
    LONG status = RegQueryValueExW(key, AsWide(name), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &readBytes);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return 0;
    // A value stored with its terminating zero yields exactly its text; one stored without it
    // keeps its last character.
    int units = int(readBytes / 2);
    if (units > 0 && buffer[units - 1] == 0)
        --units;
    out.SetLength(units);
    return 1;
}

int CInstallBase::RegValueEquals(HKEY key, const char16_t* name, const GString& value)
{
    GString stored;
    if (!RegValueGetString(key, name, stored))
        return 0;
    return stored == value ? 1 : 0;
}

int CInstallBase::RegValueDelete(HKEY key, const char16_t* name)
{
    if (key == nullptr || IsEmpty(name))
        return 0;
    return RegDeleteValueW(key, AsWide(name)) == ERROR_SUCCESS ? 1 : 0;
}

HKEY CInstallBase::RegKeyOpen(HKEY root, uint32_t subkeyId, REGSAM access)
{
    if (!GetString(subkeyId, m_text))
        return nullptr;
    return RegKeyOpen(root, m_text.GetW(), access);
}

HKEY CInstallBase::RegKeyCreate(HKEY root, uint32_t subkeyId, REGSAM access)
{
    if (!GetString(subkeyId, m_text))
        return nullptr;
    return RegKeyCreate(root, m_text.GetW(), access);
}

int CInstallBase::RegKeyDelete(HKEY key, uint32_t subkeyId)
{
    if (!GetString(subkeyId, m_text))
        return 0;
    // RegDeleteKeyW with an empty name deletes the key it is given, not a subkey of it.
    if (key == nullptr || m_text.Length() == 0)
        return 0;
    return RegDeleteKeyW(key, AsWide(m_text.GetW())) == ERROR_SUCCESS ? 1 : 0;
}

int CInstallBase::RegValueSetBinary(HKEY key, uint32_t nameId, const void* data, uint32_t size)
{
    if (!GetString(nameId, m_text))
        return 0;
    return RegValueSetBinary(key, m_text.GetW(), data, size);
}

unsigned char* CInstallBase::RegValueGetBinary(HKEY key, uint32_t nameId, uint32_t& size)
{
    size = 0;
    if (!GetString(nameId, m_text))
        return nullptr;
    return RegValueGetBinary(key, m_text.GetW(), size);
}

int CInstallBase::RegValueSetDword(HKEY key, uint32_t nameId, uint32_t value)
{
    if (!GetString(nameId, m_text))
        return 0;
    return RegValueSetDword(key, m_text.GetW(), value);
}

int CInstallBase::RegValueGetDword(HKEY key, uint32_t nameId, uint32_t& value)
{
    if (!GetString(nameId, m_text))
        return 0;
    return RegValueGetDword(key, m_text.GetW(), value);
}

int CInstallBase::RegValueGetString(HKEY key, uint32_t nameId, GString& out)
{
    if (!GetString(nameId, m_text))
        return 0;
    return RegValueGetString(key, m_text.GetW(), out);
}

void CInstallBase::RegValueDelete(HKEY key, uint32_t nameId)
{
    if (GetString(nameId, m_text))
        RegValueDelete(key, m_text.GetW());
}

int CInstallBase::RegValueSetString(HKEY key, uint32_t nameId, GString& value)
{
    GString name;
    if (!GetString(nameId, name))
        return 0;
    return RegValueSetString(key, name.GetW(), value);
}

int CInstallBase::RegValueSetString(HKEY key, uint32_t nameId, uint32_t valueId)
{
    GString value;
    if (!GetString(valueId, value))
        return 0;
    return RegValueSetString(key, nameId, value);
}

int CInstallBase::RegValueEquals(HKEY key, uint32_t nameId, const GString& value)
{
    GString name;
    if (!GetString(nameId, name))
        return 0;
    return RegValueEquals(key, name.GetW(), value);
}

int CInstallBase::RegMachineSetString(uint32_t subkeyId, uint32_t nameId, uint32_t valueId)
{
    CRegistryKey key(RegKeyOpen(HKEY_LOCAL_MACHINE, subkeyId, KEY_SET_VALUE | KEY_CREATE_SUB_KEY));
    if (!key)
        return 0;
    return RegValueSetString(key.Get(), nameId, valueId);
}
