#pragma once
// Entry points looked up by name at run time arrive as FARPROC; this gives one its real signature.
// Going through void (*)() tells the compiler the function-type cast is intended.

#include <windows.h>

template <typename Function> Function EntryPointAs(FARPROC entry)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
}
