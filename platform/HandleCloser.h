#pragma once
// Owns one Win32 handle and closes it when it goes out of scope, so that every early return of a
// wrapper releases what it opened. A null handle is never closed. Hand a handle over only after the
// call that made it succeeded: some calls leave their out parameter undefined on failure, and
// INVALID_HANDLE_VALUE must be mapped to null first.

#include <windows.h>

template <typename Handle, auto Close> class CHandleCloser
{
public:
    CHandleCloser() : m_handle(nullptr) {}
    explicit CHandleCloser(Handle handle) : m_handle(handle) {}
    ~CHandleCloser() { Reset(); }
    CHandleCloser(const CHandleCloser&) = delete;
    CHandleCloser& operator=(const CHandleCloser&) = delete;

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    // Gives up ownership; the caller closes the handle.
    Handle Detach()
    {
        Handle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

    void Reset(Handle handle = nullptr)
    {
        if (m_handle != nullptr)
            Close(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle;
};

using CKernelHandle = CHandleCloser<HANDLE, CloseHandle>;
using CRegistryKey = CHandleCloser<HKEY, RegCloseKey>;
using CLibraryHandle = CHandleCloser<HMODULE, FreeLibrary>;
using CSidHandle = CHandleCloser<PSID, FreeSid>;
