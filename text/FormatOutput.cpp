// The output side of the formatting engine: gathering, padding and the null text.

#include "text/FormatEngine.h"
#include "text/GString.h"

#include <climits>
#include <cstring>

namespace {

void Fill(char16_t* out, int count, char16_t unit)
{
    for (int i = 0; i < count; ++i)
        out[i] = unit;
}

} // namespace

int CFormatOutput::Length() const
{
    return m_target.Length() + m_pending;
}

char16_t* CFormatOutput::Reserve(int64_t n)
{
    if (n <= kBufferUnits - m_pending)
        return m_buffer + m_pending;
    if (!Flush())
        return nullptr;
    if (n <= kBufferUnits)
        return m_buffer;
    if (n > INT_MAX - int64_t(m_target.Length()))
        return nullptr;
    char16_t* out = m_target.AppendBufferW(static_cast<int>(n));
    m_direct = out != nullptr;
    return out;
}

void CFormatOutput::Commit(int n)
{
    if (m_direct) {
        m_target.SetLength(m_target.Length() + n);
        m_direct = false;
    } else {
        m_pending += n;
    }
}

int CFormatOutput::Append(const char16_t* text, int length)
{
    char16_t* out = Reserve(length);
    if (!out)
        return 0;
    std::memcpy(out, text, sizeof(char16_t) * length);
    Commit(length);
    return 1;
}

int CFormatOutput::AppendUtf8(const char* text, int length)
{
    return Flush() && m_target.AppendUtf8(text, length);
}

int CFormatOutput::Flush()
{
    if (m_pending == 0)
        return 1;
    int result = m_target.AppendW(m_buffer, m_pending);
    m_pending = 0;
    return result;
}

void CFormatOutput::Truncate(int length)
{
    int flushed = m_target.Length();
    if (length >= flushed) {
        m_pending = length - flushed;
    } else {
        m_pending = 0;
        m_target.SetLength(length);
    }
}

int FormatAppendField(CFormatOutput& out, const FormatSpec& field, const char16_t* body, int length, bool zeroPad)
{
    int pad = field.m_width > length ? field.m_width - length : 0;
    int64_t total = int64_t(length) + pad;
    char16_t* write = out.Reserve(total);
    if (!write)
        return 0;
    if (!field.Has(FormatSpec::kLeft)) {
        Fill(write, pad, zeroPad && field.Has(FormatSpec::kZero) ? '0' : ' ');
        write += pad;
    }
    std::memcpy(write, body, sizeof(char16_t) * length);
    if (field.Has(FormatSpec::kLeft))
        Fill(write + length, pad, ' ');
    out.Commit(static_cast<int>(total));
    return 1;
}

int FormatPadAppended(CFormatOutput& out, const FormatSpec& field, int start)
{
    int pad = field.m_width - (out.Length() - start);
    if (pad <= 0)
        return 1;
    // The text since start may be split between the target and the gathered units.
    if (!out.Flush())
        return 0;
    GString& target = out.Target();
    int length = target.Length() - start;
    if (int64_t(target.Length()) + pad > INT_MAX)
        return 0;
    char16_t* end = target.AppendBufferW(pad);
    if (!end)
        return 0;
    if (field.Has(FormatSpec::kLeft)) {
        Fill(end, pad, ' ');
    } else {
        char16_t* text = end - length;
        std::memmove(text + pad, text, sizeof(char16_t) * length);
        Fill(text, pad, field.Has(FormatSpec::kZero) ? '0' : ' ');
    }
    return target.SetLength(target.Length() + pad);
}

int FormatAppendNull(CFormatOutput& out, const FormatSpec& field, bool zeroPad)
{
    return FormatAppendField(out, field, u"{null}", 6, zeroPad);
}
