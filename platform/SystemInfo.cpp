// The Windows version code and the processor architecture that the installer tests.
#include "embedded/InstallBase.h"
#include "platform/EntryPoint.h"
#include "platform/HandleCloser.h"

int CInstallBase::SystemInfoRead(uint32_t entryId, uint32_t libraryId)
{
    m_processorArchitecture = 0xFFFF;
    m_osVersion = 0;
    m_is64Bit = 0;

    OSVERSIONINFOEXW version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version))) {
        // Systems before the extended record know only the plain one.
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)))
            return 0;
    }
    m_osVersion = int32_t(10 * version.dwMajorVersion + version.dwMinorVersion);

    // The native form tells a 32-bit program on 64-bit Windows the real architecture; systems
    // before Windows XP lack it and report through GetSystemInfo.
    SYSTEM_INFO info = {};
    HMODULE module = nullptr;
    FARPROC entry = ProcAddressGet(entryId, libraryId, module);
    CLibraryHandle library(module);
    if (entry != nullptr)
        EntryPointAs<void(WINAPI*)(LPSYSTEM_INFO)>(entry)(&info);
    else
        GetSystemInfo(&info);

    m_processorArchitecture = info.wProcessorArchitecture;
    m_is64Bit = m_processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
                        m_processorArchitecture == PROCESSOR_ARCHITECTURE_IA64
                    ? 1
                    : 0;
    return 1;
}
