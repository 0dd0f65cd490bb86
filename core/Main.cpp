#include <windows.h>

// Entry point of the setup program; the installer object takes over here as it is built up.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return 0;
}
