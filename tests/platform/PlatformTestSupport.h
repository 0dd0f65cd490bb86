#pragma once
// Shared pieces of the platform tests: an installer base whose default string table holds the
// texts a test names, a private scratch folder, and facts about the Wine prefix the test runs in.

#include "embedded/InstallBase.h"
#include "text/WideView.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct TestText
{
    uint32_t id;
    std::u16string text;
};

class CTestInstall : public CInstallBase
{
public:
    CTestInstall();
    // Replaces the default string table with one record per text (UTF-16 records, any id order).
    void SetTexts(const std::vector<TestText>& texts);
};

// Win32 text of a char16_t string and back, for the checks beside the operations.
inline const wchar_t* W(const std::u16string& text)
{
    return AsWide(text.c_str());
}
inline std::u16string U(const std::wstring& text)
{
    return std::u16string(text.begin(), text.end());
}
inline std::wstring Wide(const GString& text)
{
    return AsWide(text.GetW());
}

// "win32" or "win64" under scripts/wine-run; empty elsewhere.
std::string PrefixKind();
// The last folder name of WINEPREFIX, such as "win64-win7"; empty outside Wine.
std::string PrefixName();
bool RunningUnderWine();
bool RunsUnderWow64();

// A program built beside the test executable (the helpers of the process tests).
std::wstring BesideTestProgram(const wchar_t* fileName);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Waits up to timeoutMs for the file to appear.
bool WaitForFile(const std::wstring& path, unsigned timeoutMs);

// Runs a command line, waits at most timeoutMs and returns its exit code, or -1.
long RunAndWait(const std::wstring& commandLine, unsigned timeoutMs);

// A fresh folder under the temporary folder, removed with everything in it at the end of the test.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};
