#pragma once
// Internal interface between the source files of the formatting engine of GString: the parsed
// directive, the output of a call and the conversions.

#include <cstdint>

class GString;
struct PackedString;

// One directive: % [flags] [width] [. precision] [size] letter.
struct FormatSpec {
    enum : unsigned {
        kLeft = 1,       // -
        kPlus = 2,       // +
        kSpace = 4,      // space
        kZero = 8,       // 0
        kAlternate = 16, // #
        kEscape = 32,    // $
        kGroup = 64,     // backquote
    };
    enum : unsigned char { kSizeNone, kSizeShort, kSizeLong, kSize64 };

    unsigned m_flags;
    int m_width;     // -1 without width
    int m_precision; // 0 without precision
    unsigned char m_size;
    char16_t m_letter;
    bool m_upper;              // the letter asks for upper-case hex digits
    const char* m_hexDigits;   // "0123456789abcdef" or its upper-case form
    uint32_t m_options;        // option bits of the target string

    bool Has(unsigned flag) const { return (m_flags & flag) != 0; }
};

// The output of one formatting call. Short pieces gather in a local buffer that reaches the
// target string in one append; long pieces and decoded UTF-8 text go to the target directly.
class CFormatOutput {
public:
    explicit CFormatOutput(GString& target) : m_target(target), m_pending(0), m_direct(false) {}
    CFormatOutput(const CFormatOutput&) = delete;
    CFormatOutput& operator=(const CFormatOutput&) = delete;

    GString& Target() { return m_target; }
    // Length of the target's text with what is still gathered here.
    int Length() const;
    // Space for n units at the end of the output, or null when the target cannot grow that far.
    // Commit(n) follows once the units are written.
    char16_t* Reserve(int64_t n);
    void Commit(int n);
    int Append(const char16_t* text, int length);
    // Decodes UTF-8 text into the target; 0 for malformed text.
    int AppendUtf8(const char* text, int length);
    // Moves the gathered units into the target.
    int Flush();
    // Drops everything after the first length units.
    void Truncate(int length);

private:
    static const int kBufferUnits = 256;

    GString& m_target;
    int m_pending;
    bool m_direct;
    char16_t m_buffer[kBufferUnits];
};

// Appends length units of body, padded to the width: before it in zeros (with the 0 flag and
// zeroPad) or spaces, or after it in spaces with the - flag.
int FormatAppendField(CFormatOutput& out, const FormatSpec& field, const char16_t* body, int length, bool zeroPad);
// Pads the text appended since start to the width, moving it when the padding goes first.
int FormatPadAppended(CFormatOutput& out, const FormatSpec& field, int start);
// "{null}" padded to the width.
int FormatAppendNull(CFormatOutput& out, const FormatSpec& field, bool zeroPad);

// Conversions; each returns 1, or 0 when the whole call must fail.
int FormatInteger(CFormatOutput& out, const FormatSpec& field, uint64_t magnitude, bool negative, bool isSigned);
int FormatPointer(CFormatOutput& out, const FormatSpec& field, uintptr_t value);
int FormatChar(CFormatOutput& out, const FormatSpec& field, int value);
int FormatTextW(CFormatOutput& out, const FormatSpec& field, const char16_t* text, int limit);
int FormatTextUtf8(CFormatOutput& out, const FormatSpec& field, const char* text, int limit);
int FormatGString(CFormatOutput& out, const FormatSpec& field, const GString* text);
int FormatPacked(CFormatOutput& out, const FormatSpec& field, const PackedString* text);
int FormatBytes(CFormatOutput& out, const FormatSpec& field, const unsigned char* bytes);
int FormatIpv4(CFormatOutput& out, const FormatSpec& field, const unsigned char* address);
int FormatGuid(CFormatOutput& out, const FormatSpec& field, const unsigned char* guid);
int FormatFloat(CFormatOutput& out, const FormatSpec& field, double value);
int FormatSize(CFormatOutput& out, const FormatSpec& field, uint64_t magnitude, bool negative);
