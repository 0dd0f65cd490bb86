// GString::DebugOutput and its replaceable sink.
#include "text/GString.h"

#include "text/GStringInternal.h"

#ifdef _WIN32
#include <windows.h>

#include "text/WideView.h"
#endif

using gstring_internal::IsContinuation;

namespace {

void DefaultDebugSink(const char16_t* piece)
{
#ifdef _WIN32
    OutputDebugStringW(AsWide(piece));
#else
    (void)piece;
#endif
}

GString::DebugSink g_debugSink = DefaultDebugSink;

// Bytes of the UTF-8 character at text: its first byte and the continuation bytes after it.
int CharacterSize(const unsigned char* text, int length)
{
    int size = 1;
    while (size < length && IsContinuation(text[size]))
        ++size;
    return size;
}

} // namespace

GString::DebugSink GString::SetDebugSink(DebugSink sink)
{
    DebugSink previous = g_debugSink;
    g_debugSink = sink ? sink : DefaultDebugSink;
    return previous == DefaultDebugSink ? nullptr : previous;
}

// Texts longer than the limit are cut at the limit.
void GString::DebugOutput(int limit) const
{
    if (m_length == 0 || limit <= 0)
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(TextUtf8());
    int characters = m_length;
    if (!m_wide) {
        characters = 0;
        for (int i = 0; i < m_length; ++i)
            characters += IsContinuation(bytes[i]) ? 0 : 1;
    }
    if (characters > limit)
        characters = limit;
    int fullPieces = m_lineWidth > 0 ? characters / m_lineWidth : 0;
    int rest = m_lineWidth > 0 ? characters % m_lineWidth : characters;
    GString* piece = PrepareScratch();
    if (!piece)
        return;
    piece->SetFormAndClear(true);

    int position = 0;
    auto appendCharacters = [&](int count) {
        if (m_wide) {
            piece->AppendW(TextW() + position, count);
            position += count;
            return;
        }
        for (; count > 0; --count) {
            int span = CharacterSize(bytes + position, m_length - position);
            if (!piece->AppendUtf8(reinterpret_cast<const char*>(bytes + position), span))
                piece->AppendCharW(0xFFFD, 1);
            position += span;
        }
    };
    for (int i = 0; i < fullPieces; ++i) {
        piece->Clear();
        appendCharacters(m_lineWidth);
        piece->AppendW(i + 1 < fullPieces || rest > 0 ? u" \\\n" : u"\n");
        g_debugSink(piece->GetW());
    }
    if (rest > 0) {
        piece->Clear();
        appendCharacters(rest);
        piece->AppendW(u"\n");
        g_debugSink(piece->GetW());
    }
}
