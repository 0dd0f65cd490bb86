#pragma once
// Base class of the installer object: owns the key guard, the default and the two language string
// tables, the wizard stage and the facts about the system, and turns a string id into a text.
// The registry, file and system operations are members too; they are defined in platform/.

#include "embedded/Guard.h"
#include "embedded/StringTable.h"
#include "text/GString.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
// Opaque stand-ins for the Win32 handles, so the class has the same shape in host builds.
struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
#endif

struct PackedString;

class CInstallBase {
public:
    static constexpr int32_t kLanguageCount = 2;

    explicit CInstallBase(const GuardParameters& guardParameters);
    virtual ~CInstallBase();
    CInstallBase(const CInstallBase&) = delete;
    CInstallBase& operator=(const CInstallBase&) = delete;

    // The window that owns message boxes; none here.
    virtual HWND GetOwnerWindow() const;
    // Stores the module instance; 1.
    virtual int Init(HINSTANCE instance);
    // Releases the string tables and the key material.
    virtual void Cleanup();
    // The selected language table first, then the default table.
    virtual const PackedString* FindString(uint32_t id) const;

    // Loads the text of id through the most derived FindString; out is UTF-16 after success, and
    // empty with result 0 when no table holds the id.
    int GetString(uint32_t id, GString& out);
    // Selects language 0 or 1; any other index gives 0 and keeps the current language.
    int SetLanguage(uint32_t index);

    int32_t GetLanguage() const { return m_language; }
    int32_t GetStage() const { return m_stage; }
    void SetStage(int32_t stage) { m_stage = stage; }
    int32_t GetOsVersion() const { return m_osVersion; }
    int32_t Is64Bit() const { return m_is64Bit; }
    uint16_t GetProcessorArchitecture() const { return m_processorArchitecture; }

#ifdef _WIN32
    // ---- Platform services: thin Win32 wrappers, defined in platform/ ----------------------------
    // The forms that take a string id load its text into m_text (so they are never nested) or into
    // a local string, and touch nothing when no table holds the id. Results are 1/0, or a handle,
    // buffer or entry point that is null on failure; no Win32 error code reaches the caller.

    // Registry (platform/Registry.cpp). Keys returned belong to the caller (RegCloseKey); a buffer
    // from RegValueGetBinary is released with delete[].
    HKEY RegKeyOpen(HKEY root, const char16_t* subkey, REGSAM access);
    HKEY RegKeyOpen(HKEY root, uint32_t subkeyId, REGSAM access);
    HKEY RegKeyCreate(HKEY root, const char16_t* subkey, REGSAM access);
    HKEY RegKeyCreate(HKEY root, uint32_t subkeyId, REGSAM access);
    // Fails while the key has subkeys; works in the view of the key it is given.
    int RegKeyDelete(HKEY key, uint32_t subkeyId);
    int RegValueSetBinary(HKEY key, const char16_t* name, const void* data, uint32_t size);
    int RegValueSetBinary(HKEY key, uint32_t nameId, const void* data, uint32_t size);
    unsigned char* RegValueGetBinary(HKEY key, const char16_t* name, uint32_t& size);
    unsigned char* RegValueGetBinary(HKEY key, uint32_t nameId, uint32_t& size);
    int RegValueSetDword(HKEY key, const char16_t* name, uint32_t value);
    int RegValueSetDword(HKEY key, uint32_t nameId, uint32_t value);
    // REG_DWORD of exactly 4 bytes only; value is written only on success.
    int RegValueGetDword(HKEY key, const char16_t* name, uint32_t& value);
    int RegValueGetDword(HKEY key, uint32_t nameId, uint32_t& value);
    // Converts value to UTF-16 in place and stores it as REG_SZ with its terminator.
    int RegValueSetString(HKEY key, const char16_t* name, GString& value);
    int RegValueSetString(HKEY key, uint32_t nameId, GString& value);
    int RegValueSetString(HKEY key, uint32_t nameId, uint32_t valueId);
    // REG_SZ only (REG_EXPAND_SZ is refused); out is UTF-16.
    int RegValueGetString(HKEY key, const char16_t* name, GString& out);
    int RegValueGetString(HKEY key, uint32_t nameId, GString& out);
    // Exact, case-sensitive comparison of a REG_SZ value with value.
    int RegValueEquals(HKEY key, const char16_t* name, const GString& value);
    int RegValueEquals(HKEY key, uint32_t nameId, const GString& value);
    int RegValueDelete(HKEY key, const char16_t* name);
    void RegValueDelete(HKEY key, uint32_t nameId);
    // Writes the text of valueId into an existing key under HKEY_LOCAL_MACHINE.
    int RegMachineSetString(uint32_t subkeyId, uint32_t nameId, uint32_t valueId);

    // Files and folders (platform/Files.cpp). A handle from FileCreateNew belongs to the caller
    // (CloseHandle).
    HANDLE FileCreateNew(const char16_t* path);
    int FileWriteBytes(HANDLE file, const void* data, uint32_t size);
    // Converts text to UTF-8 in place and writes it without byte-order mark or terminator.
    int FileWriteText(HANDLE file, GString& text);
    // A missing file counts as removed; a file in use is deleted when Windows next starts.
    int FileRemove(const char16_t* path);
    int FileRemove(GString& path);
    // Creates the last level only; an existing folder is success.
    int FolderCreate(const char16_t* path);
    // Removes an empty folder only.
    int FolderRemove(GString& path);
    int SpecialFolderGet(int csidl, GString& out);
    // The temporary folder, ending with a backslash.
    int TempFolderGet(GString& out);
    // Creates an empty file with a unique name in folder (the temporary folder when null) and
    // appends its path to out; the caller removes the file.
    int TempFileNameGet(GString& out, uint32_t prefixId, const char16_t* folder);

    // Shell, privileges, processes and system information (platform/Shell.cpp, Processes.cpp,
    // HexBytes.cpp, SystemInfo.cpp).
    int ShortcutCreate(const char16_t* target, const char16_t* linkFile, const char16_t* description,
                       const char16_t* iconFile, int iconIndex);
    // Non-zero when the caller's token is a member of the Administrators group.
    int IsAdministrator();
    int RestartSystem();
    // The program associated with the file type named by fileTypeId.
    int AssocExecutableGet(uint32_t fileTypeId, GString& out);
    // 1 when the upper-cased path of that program contains the text of textId (case-sensitive).
    int AssocExecutableContains(uint32_t fileTypeId, uint32_t textId);
    // ProcessRun of formatId with the associated program's path and argument, in that order.
    int AssocRun(uint32_t fileTypeId, uint32_t formatId, const char16_t* argument);
    // The bytes of a text of upper-case hexadecimal digit pairs, in a new buffer (delete[]).
    unsigned char* HexBytesFromString(uint32_t id, int32_t& size);
    HMODULE LibraryLoad(uint32_t libraryId);
    // Loads the library into module when module is null; the caller releases it (FreeLibrary).
    FARPROC ProcAddressGet(uint32_t entryId, uint32_t libraryId, HMODULE& module);
    // Starts the command formatted from formatId and the arguments, and waits for it at most one
    // second. 0 when formatId is 0, else 1, started or not.
    int ProcessRun(uint32_t formatId, ...);
    // Fills the version code, the native processor architecture and the 64-bit flag; entryId and
    // libraryId name the native form of GetSystemInfo.
    int SystemInfoRead(uint32_t entryId, uint32_t libraryId);
#endif

protected:
    HINSTANCE m_hInstance;
    CGuard m_guard;
    StringTable m_defaultStrings;
    StringTable m_languageStrings[kLanguageCount];
    int32_t m_stage;
    int32_t m_osVersion;
    int32_t m_language;
    int32_t m_is64Bit;
    uint16_t m_processorArchitecture;
    // Scratch text of the operations that take a string id; valid until the next such operation.
    GString m_text;
};
