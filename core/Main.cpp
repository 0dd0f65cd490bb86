// The program's entry point: one installer object, COM as a multithreaded apartment, and the
// Init, Run, Finish protocol. Any failure of Init ends the program silently.

#include "core/Install.h"

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    CInstall install(nullptr);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (install.Init(instance) && install.Run()) {
        install.Finish();
        CoUninitialize();
    }
    return 0;
}
