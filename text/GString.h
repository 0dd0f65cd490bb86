#pragma once
// The string class of the program. A GString holds its text in one of two forms at a time:
// UTF-16 ("wide", what the wide Win32 functions take) or 8-bit, which always holds UTF-8.
// Operations report failure through their result (1/0 or a null pointer) and never throw.

#include <cstdarg>
#include <cstddef>
#include <cstdint>

struct PackedString;

class GString
{
public:
    // Lets tests make the block and scratch allocations fail: a gate that returns false refuses
    // the request of that many bytes. Returns the previous gate; null means every request is tried.
    using AllocationGate = bool (*)(std::size_t bytes);
    static AllocationGate SetAllocationGate(AllocationGate gate);

    // Receives each zero-terminated piece written by DebugOutput. Returns the previous sink; null
    // restores the default (OutputDebugStringW on Windows, discarding on other hosts).
    using DebugSink = void (*)(const char16_t* piece);
    static DebugSink SetDebugSink(DebugSink sink);

    // Bits of m_options read by the formatting engine; nothing in the program sets them.
    enum : uint32_t {
        kOptionThreeDigitExponent = 2,
        kOptionUpperHexPrefix = 4,
        kOptionMicroAsU = 8,
    };

    GString();
    // Wide form holding count copies of unit; empty (wide, no block) when count <= 0 or on failure.
    GString(char16_t unit, int count);
    virtual ~GString();

    GString(const GString&) = delete;
    GString& operator=(const GString&) = delete;

    // Access. GetW/GetUtf8 never convert: in the other form, or when empty, they return the
    // static empty text of their form.
    int Length() const { return m_length; }
    bool IsWide() const { return m_wide != 0; }
    int Capacity() const { return m_capacity; }
    int Start() const { return m_start; }
    uint32_t Options() const { return m_options; }
    const char16_t* GetW(int position = 0) const;
    const char* GetUtf8(int position = 0) const;
    const char16_t* ToWide();
    const char* ToUtf8();

    // Room and length. A length argument below 0 means "up to the first zero unit".
    int Reserve(int n);
    void Clear();
    char16_t* AppendBufferW(int n);
    char* AppendBufferUtf8(int n);
    int SetLength(int n);

    // Assignment; each clears the string first.
    int AssignW(const char16_t* text, int length = -1);
    int AssignUtf8(const char* text, int length = -1);
    int AssignUtf8AsWide(const char* text, int length = -1);
    void Assign(const GString& other);
    int AssignAsWide(const GString* other);
    int AssignAsUtf8(const GString* other);
    int AssignPacked(const PackedString* packed);

    // Appending; the string keeps its form and the argument is converted into it. A text argument
    // may point into this string's own block only when it is in the string's own form.
    int AppendW(const char16_t* text, int length = -1);
    int AppendUtf8(const char* text, int length = -1);
    void Append(const GString& other);
    int AppendCharW(char16_t unit, int count);
    int AppendCharUtf8(char byte, int count);

    // Search and comparison. Arguments in the other form are converted in the scratch string.
    int Find(const char16_t* needle, int start, int length = -1) const;
    int Find(const char* needle, int start, int length = -1) const;
    int Find(const GString& needle, int start) const;
    int FindLastChar(char16_t unit, int start) const;
    // Shorter texts sort first; equal lengths compare unit by unit, unsigned, without case folding.
    // A text that cannot be brought into this string's form never compares equal (result -1).
    int Compare(const char16_t* text, int length = -1) const;
    int Compare(const char* text, int length = -1) const;
    friend bool operator==(const GString& left, const GString& right);
    friend bool operator!=(const GString& left, const GString& right);

    // Editing.
    int EnsureSuffix(const char16_t* suffix, int length = -1);
    int EnsureSuffix(const char* suffix, int length = -1);
    // Joins with one backslash; one leading slash or backslash of the component is dropped.
    int AppendPath(const char16_t* component, int length = -1);
    int AppendPath(const char* component, int length = -1);
    GString& AppendPath(const GString& component);
    int DropFront(int n);
    int MakeUpper();
    // Writes the text to the debugger in pieces of at most m_lineWidth characters.
    void DebugOutput(int limit) const;

    // Formatting (printf-like, own directive set). Format switches to the wide form and clears;
    // AppendFormatV appends to a wide string and fails on an 8-bit one.
    int Format(const char16_t* format, ...);
    int AppendFormatV(const char16_t* format, va_list args);

    // Internal operations shared by the parts of the class and the formatting engine.
    int EnsureSpare(int n);
    int Compact();
    // Creates the scratch string on first need, empties it and gives it this string's code page;
    // null when it cannot be created.
    GString* PrepareScratch() const;

private:
    int UnitSize() const { return m_wide ? 2 : 1; }
    int Room() const;
    int Spare() const;
    unsigned char* TextArea() const { return m_block ? m_block + 4 : nullptr; }
    char16_t* TextW() const;
    char* TextUtf8() const;
    void Terminate();
    void SetFormAndClear(bool wide);
    // Takes over the text (and form) of source, leaving source empty; cannot fail.
    void TakeText(GString& source);

    int AppendSameForm(const void* text, int length);
    int AppendEncodedUtf8(const char16_t* text, int length);
    int AppendDecodedUtf8(const char* text, int length);
    // Bring an argument of the other form into this string's form, in the scratch string.
    GString* ArgumentAsUtf8(const char16_t* text, int length) const;
    GString* ArgumentAsWide(const char* text, int length) const;

    unsigned char* m_block;
    int32_t m_length;
    int32_t m_start;
    int32_t m_capacity;
    int32_t m_granule;
    int32_t m_codePage;
    int32_t m_wide;
    uint32_t m_options;
    int32_t m_lineWidth;
    mutable GString* m_scratch;
};
