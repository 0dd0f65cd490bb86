#pragma once
// Helpers of the formatting tests: each EXPECT_FORMAT line is one table row (expected text,
// format, arguments) that names itself by its line and format when it fails.

#include "GStringTestSupport.h"

#include <cstdarg>
#include <string>

inline std::string Printable(const std::u16string& text)
{
    std::string out;
    for (char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F) {
            out += static_cast<char>(unit);
        } else {
            char escape[12];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
            out += escape;
        }
    }
    return out;
}

inline int AppendFormat(GString& s, const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    int result = s.AppendFormatV(format, args);
    va_end(args);
    return result;
}

template <class... Args>
void CheckFormat(int result, const std::u16string& expected, const char16_t* format, Args... args)
{
    GString s;
    EXPECT_EQ(s.Format(format, args...), result);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(Printable(TextW(s)), Printable(expected));
}

// A row that succeeds with the expected text.
#define EXPECT_FORMAT(expected, format, ...)                                                                           \
    do {                                                                                                               \
        SCOPED_TRACE(Printable(format));                                                                               \
        CheckFormat(1, expected, format __VA_OPT__(, ) __VA_ARGS__);                                                   \
    } while (0)

// A row whose call fails, keeping the text before the failing directive.
#define EXPECT_FORMAT_FAILS(kept, format, ...)                                                                         \
    do {                                                                                                               \
        SCOPED_TRACE(Printable(format));                                                                               \
        CheckFormat(0, kept, format __VA_OPT__(, ) __VA_ARGS__);                                                       \
    } while (0)
