// GString search, comparison and in-place editing.
#include "text/GString.h"

#include "text/GStringInternal.h"
#include "text/UpperCase.h"

#include <cstring>

using gstring_internal::TextLength;

namespace {

template <typename Unit> int FindUnits(const Unit* text, int length, int start, const Unit* needle, int needleLength)
{
    if (needleLength == 0 || int64_t(start) + needleLength > length)
        return -1;
    for (int position = start; position <= length - needleLength; ++position) {
        if (std::memcmp(text + position, needle, std::size_t(needleLength) * sizeof(Unit)) == 0)
            return position;
    }
    return -1;
}

// Shorter sorts first; equal lengths compare unit by unit as unsigned values.
template <typename Unit> int CompareUnits(const Unit* left, int leftLength, const Unit* right, int rightLength)
{
    if (leftLength != rightLength)
        return leftLength < rightLength ? -1 : 1;
    for (int i = 0; i < leftLength; ++i) {
        if (left[i] != right[i])
            return left[i] < right[i] ? -1 : 1;
    }
    return 0;
}

template <typename Unit> bool EndsWith(const Unit* text, int length, const Unit* suffix, int suffixLength)
{
    return length >= suffixLength &&
           std::memcmp(text + (length - suffixLength), suffix, std::size_t(suffixLength) * sizeof(Unit)) == 0;
}

const unsigned char* Bytes(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

} // namespace

GString* GString::ArgumentAsUtf8(const char16_t* text, int length) const
{
    GString* scratch = PrepareScratch();
    if (!scratch)
        return nullptr;
    scratch->SetFormAndClear(false);
    return scratch->AppendW(text, length) ? scratch : nullptr;
}

GString* GString::ArgumentAsWide(const char* text, int length) const
{
    GString* scratch = PrepareScratch();
    if (!scratch)
        return nullptr;
    scratch->SetFormAndClear(true);
    return scratch->AppendUtf8(text, length) ? scratch : nullptr;
}

int GString::Find(const char16_t* needle, int start, int length) const
{
    if (!needle || m_length == 0 || start < 0 || start >= m_length)
        return -1;
    if (m_wide)
        return FindUnits(TextW(), m_length, start, needle, length < 0 ? TextLength(needle) : length);
    GString* converted = ArgumentAsUtf8(needle, length);
    if (!converted)
        return -1;
    return FindUnits(TextUtf8(), m_length, start, converted->GetUtf8(), converted->m_length);
}

int GString::Find(const char* needle, int start, int length) const
{
    if (!needle || m_length == 0 || start < 0 || start >= m_length)
        return -1;
    if (!m_wide)
        return FindUnits(TextUtf8(), m_length, start, needle, length < 0 ? TextLength(needle) : length);
    GString* converted = ArgumentAsWide(needle, length);
    if (!converted)
        return -1;
    return FindUnits(TextW(), m_length, start, converted->GetW(), converted->m_length);
}

int GString::Find(const GString& needle, int start) const
{
    if (needle.m_wide)
        return Find(needle.GetW(), start, needle.m_length);
    return Find(needle.GetUtf8(), start, needle.m_length);
}

int GString::FindLastChar(char16_t unit, int start) const
{
    if (m_length == 0 || start < 0 || start >= m_length)
        return -1;
    if (m_wide) {
        for (int position = m_length - 1; position >= start; --position) {
            if (TextW()[position] == unit)
                return position;
        }
        return -1;
    }
    unsigned char sequence[3];
    int sequenceLength = gstring_internal::EncodeUtf8(unit, sequence);
    const unsigned char* text = Bytes(TextUtf8());
    for (int position = m_length - sequenceLength; position >= start; --position) {
        if (std::memcmp(text + position, sequence, std::size_t(sequenceLength)) == 0)
            return position;
    }
    return -1;
}

// A right side that cannot be brought into the left side's form never compares equal; it sorts
// after the left side.
int GString::Compare(const char16_t* text, int length) const
{
    int rightLength = !text ? 0 : length < 0 ? TextLength(text) : length;
    if (m_length == 0 || rightLength == 0)
        return m_length == rightLength ? 0 : m_length == 0 ? -1 : 1;
    if (m_wide)
        return CompareUnits(TextW(), m_length, text, rightLength);
    GString* converted = ArgumentAsUtf8(text, rightLength);
    if (!converted)
        return -1;
    return CompareUnits(Bytes(TextUtf8()), m_length, Bytes(converted->GetUtf8()), converted->m_length);
}

int GString::Compare(const char* text, int length) const
{
    int rightLength = !text ? 0 : length < 0 ? TextLength(text) : length;
    if (m_length == 0 || rightLength == 0)
        return m_length == rightLength ? 0 : m_length == 0 ? -1 : 1;
    if (!m_wide)
        return CompareUnits(Bytes(TextUtf8()), m_length, Bytes(text), rightLength);
    GString* converted = ArgumentAsWide(text, rightLength);
    if (!converted)
        return -1;
    return CompareUnits(TextW(), m_length, converted->GetW(), converted->m_length);
}

bool operator==(const GString& left, const GString& right)
{
    if (right.m_wide)
        return left.Compare(right.GetW(), right.m_length) == 0;
    return left.Compare(right.GetUtf8(), right.m_length) == 0;
}

bool operator!=(const GString& left, const GString& right)
{
    return !(left == right);
}

int GString::EnsureSuffix(const char16_t* suffix, int length)
{
    if (!suffix || suffix[0] == 0 || length == 0)
        return 0;
    if (m_wide) {
        int suffixLength = length < 0 ? TextLength(suffix) : length;
        if (EndsWith(TextW(), m_length, suffix, suffixLength))
            return 1;
        return AppendW(suffix, suffixLength);
    }
    GString* converted = ArgumentAsUtf8(suffix, length);
    if (!converted)
        return 0;
    if (EndsWith(TextUtf8(), m_length, converted->GetUtf8(), converted->m_length))
        return 1;
    return AppendUtf8(converted->GetUtf8(), converted->m_length);
}

int GString::EnsureSuffix(const char* suffix, int length)
{
    if (!suffix || suffix[0] == 0 || length == 0)
        return 0;
    if (!m_wide) {
        int suffixLength = length < 0 ? TextLength(suffix) : length;
        if (EndsWith(TextUtf8(), m_length, suffix, suffixLength))
            return 1;
        return AppendUtf8(suffix, suffixLength);
    }
    GString* converted = ArgumentAsWide(suffix, length);
    if (!converted)
        return 0;
    if (EndsWith(TextW(), m_length, converted->GetW(), converted->m_length))
        return 1;
    return AppendW(converted->GetW(), converted->m_length);
}

int GString::AppendPath(const char16_t* component, int length)
{
    if (!m_wide) {
        GString* converted = ArgumentAsUtf8(component, length);
        if (!converted)
            return 0;
        return AppendPath(converted->GetUtf8(), converted->m_length);
    }
    int componentLength = !component ? 0 : length < 0 ? TextLength(component) : length;
    if (!EnsureSuffix(u"\\"))
        return 0;
    if (componentLength > 0 && (component[0] == u'\\' || component[0] == u'/')) {
        ++component;
        --componentLength;
    }
    return AppendW(component, componentLength);
}

int GString::AppendPath(const char* component, int length)
{
    if (m_wide) {
        GString* converted = ArgumentAsWide(component, length);
        if (!converted)
            return 0;
        return AppendPath(converted->GetW(), converted->m_length);
    }
    int componentLength = !component ? 0 : length < 0 ? TextLength(component) : length;
    if (!EnsureSuffix("\\"))
        return 0;
    if (componentLength > 0 && (component[0] == '\\' || component[0] == '/')) {
        ++component;
        --componentLength;
    }
    return AppendUtf8(component, componentLength);
}

GString& GString::AppendPath(const GString& component)
{
    if (&component == this) {
        // The backslash would otherwise change the component while it is being appended.
        GString* copy = PrepareScratch();
        if (!copy)
            return *this;
        copy->Assign(*this);
        return AppendPath(*copy);
    }
    if (component.m_wide)
        AppendPath(component.GetW(), component.m_length);
    else
        AppendPath(component.GetUtf8(), component.m_length);
    return *this;
}

int GString::DropFront(int n)
{
    if (n <= 0)
        return 0;
    if (n > m_length)
        n = m_length;
    m_start += n;
    m_length -= n;
    if (m_length == 0) {
        m_start = 0;
        Terminate();
    }
    return 1;
}

int GString::MakeUpper()
{
    if (m_length == 0)
        return 1;
    if (m_wide) {
        char16_t* text = TextW();
        for (int i = 0; i < m_length; ++i)
            text[i] = UpperCaseUnit(text[i]);
        return 1;
    }
    GString* upper = ArgumentAsWide(TextUtf8(), m_length);
    if (!upper)
        return 0;
    upper->MakeUpper();
    // Upper-casing can lengthen the encoding; room is made first so that the text is never lost.
    int64_t bytes = gstring_internal::Utf8Size(upper->GetW(), upper->m_length);
    if (bytes > INT32_MAX || !Reserve(static_cast<int>(bytes)))
        return 0;
    return AssignAsUtf8(upper);
}
