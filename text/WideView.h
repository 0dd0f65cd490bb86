#pragma once
// Portable code keeps UTF-16 text as char16_t; Win32 takes wchar_t. On Windows both are 16-bit
// units, so the same memory is viewed through the other type here and nowhere else.

#ifdef _WIN32
#include <cwchar>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text must be UTF-16");

inline const wchar_t* AsWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* AsWide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
inline const char16_t* AsChar16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
inline char16_t* AsChar16(wchar_t* text) { return reinterpret_cast<char16_t*>(text); }
#endif
