#include "tools/layout/CSourceWriter.h"

#include "tools/layout/KlcText.h"
#include "tools/layout/VirtualKeys.h"

#include <cstdarg>
#include <cstdio>

namespace {

class CTextBuilder
{
public:
    void Add(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        va_list arguments;
        va_start(arguments, format);
        va_list measure;
        va_copy(measure, arguments);
        int length = std::vsnprintf(nullptr, 0, format, measure);
        va_end(measure);
        if (length > 0) {
            size_t start = m_text.size();
            m_text.resize(start + size_t(length) + 1);
            std::vsnprintf(&m_text[start], size_t(length) + 1, format, arguments);
            m_text.resize(start + size_t(length));
        }
        va_end(arguments);
    }
    void Add(const std::string& text) { m_text += text; }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

// Text for a C comment: printable ASCII as it is, everything else (and '*' and '/', so that no
// comment can end early) as U+XXXX.
std::string CommentText(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != u'*' && c != u'/') {
            out += char(c);
        } else {
            char code[12];
            std::snprintf(code, sizeof code, "U+%04X", unsigned(c));
            out += code;
        }
    }
    return out;
}

std::string KeyComment(uint8_t virtualKey)
{
    if (virtualKey == VirtualKey::kDeadKeyRow)
        return "dead characters";
    const char* name = VirtualKeyName(virtualKey);
    return name != nullptr ? name : "?";
}

void AddWordArray(CTextBuilder& out, const char* name, const std::u16string& text)
{
    out.Add("static KbdWord %s[] KBD_DATA = {", name);
    for (char16_t c : text)
        out.Add("0x%04X, ", unsigned(c));
    out.Add("0}; /* %s */\n", CommentText(text).c_str());
}

void AddModifiers(CTextBuilder& out, const LayoutTables& tables)
{
    out.Add("static KbdVkToBit s_vkToBits[] KBD_DATA = {\n"
            "    {0x%02X, 0x%02X}, /* Shift */\n    {0x%02X, 0x%02X}, /* Ctrl */\n"
            "    {0x%02X, 0x%02X}, /* Alt */\n    {0, 0}};\n\n",
            VirtualKey::kShift, ModifierBit::kShift, VirtualKey::kControl, ModifierBit::kCtrl, VirtualKey::kMenu,
            ModifierBit::kAlt);
    out.Add("static KbdModifiers s_modifiers KBD_DATA = {s_vkToBits, %u, {", unsigned(tables.m_maxModBits));
    for (size_t i = 0; i < 8; ++i)
        out.Add(i == 0 ? "%u" : ", %u", unsigned(tables.m_modNumbers[i]));
    out.Add("}};\n\n");
}

void AddCharTables(CTextBuilder& out, const LayoutTables& tables)
{
    for (const CharTable& table : tables.m_charTables) {
        out.Add("typedef KBD_VK_TO_WCHARS(%zu) KbdVkToWchars%zu;\n", table.m_width, table.m_width);
        out.Add("static KbdVkToWchars%zu s_chars%zu[] KBD_DATA = {\n", table.m_width, table.m_width);
        for (const CharEntry& entry : table.m_entries) {
            out.Add("    {0x%02X, 0x%02X, {", unsigned(entry.m_virtualKey), unsigned(entry.m_attributes));
            for (size_t i = 0; i < entry.m_characters.size(); ++i)
                out.Add(i == 0 ? "0x%04X" : ", 0x%04X", unsigned(entry.m_characters[i]));
            out.Add("}}, /* %s */\n", KeyComment(entry.m_virtualKey).c_str());
        }
        out.Add("    {0, 0, {0}}};\n\n");
    }
    out.Add("static KbdVkToWcharTable s_charTables[] KBD_DATA = {\n");
    for (const CharTable& table : tables.m_charTables)
        out.Add("    {(KbdByte*)s_chars%zu, %zu, sizeof s_chars%zu[0]},\n", table.m_width, table.m_width,
                table.m_width);
    out.Add("    {0, 0, 0}};\n\n");
}

void AddDeadKeys(CTextBuilder& out, const LayoutTables& tables)
{
    out.Add("static KbdDeadKey s_deadKeys[] KBD_DATA = {\n");
    for (const DeadKeyEntry& entry : tables.m_deadKeys)
        out.Add("    {0x%08X, 0x%04X, 0x%04X},\n", unsigned(entry.m_both), unsigned(entry.m_composed),
                unsigned(entry.m_flags));
    out.Add("    {0, 0, 0}};\n\n");
}

void AddScanNames(CTextBuilder& out, const char* prefix, const std::vector<ScanName>& names)
{
    for (const ScanName& name : names) {
        char array[32];
        std::snprintf(array, sizeof array, "s_%s%02X", prefix, unsigned(name.m_scanCode));
        AddWordArray(out, array, name.m_name);
    }
    out.Add("static KbdScanName s_%ss[] KBD_DATA = {\n", prefix);
    for (const ScanName& name : names)
        out.Add("    {0x%02X, s_%s%02X},\n", unsigned(name.m_scanCode), prefix, unsigned(name.m_scanCode));
    out.Add("    {0, 0}};\n\n");
}

void AddDeadNames(CTextBuilder& out, const LayoutTables& tables)
{
    for (size_t i = 0; i < tables.m_keyNamesDead.size(); ++i) {
        char array[32];
        std::snprintf(array, sizeof array, "s_deadName%zu", i);
        AddWordArray(out, array, tables.m_keyNamesDead[i]);
    }
    out.Add("static KbdWord* s_deadNames[] KBD_DATA = {");
    for (size_t i = 0; i < tables.m_keyNamesDead.size(); ++i)
        out.Add("s_deadName%zu, ", i);
    out.Add("0};\n\n");
}

void AddScanTables(CTextBuilder& out, const LayoutTables& tables)
{
    out.Add("static KbdWord s_scanToVk[%zu] KBD_DATA = {", kScanTableSize);
    for (size_t i = 0; i < kScanTableSize; ++i) {
        if (i % 8 == 0)
            out.Add("\n    /* %02zX */", i);
        out.Add(" 0x%04X,", unsigned(tables.m_scanToVk[i]));
    }
    out.Add("};\n\n");
    const std::pair<const char*, const std::vector<ScanVk>*> prefixed[] = {{"E0", &tables.m_scanToVkE0},
                                                                           {"E1", &tables.m_scanToVkE1}};
    for (const auto& [name, entries] : prefixed) {
        out.Add("static KbdScanVk s_scanToVk%s[] KBD_DATA = {\n", name);
        for (const ScanVk& entry : *entries)
            out.Add("    {0x%02X, 0x%04X},\n", unsigned(entry.m_scanCode), unsigned(entry.m_virtualKey));
        out.Add("    {0, 0}};\n\n");
    }
}

} // namespace

std::string WriteCSource(const KlcSource& source, const LayoutTables& tables, const std::string& sourceName)
{
    CTextBuilder out;
    out.Add("/* Generated by layout-compiler from %s; do not edit. */\n", sourceName.c_str());
    out.Add("/* %s: %s */\n", source.m_name.c_str(), CommentText(source.m_description).c_str());
    out.Add("#include \"KbdTables.h\"\n\n");
    out.Add("#define KBD_DATA __attribute__((section(\".data\")))\n\n");
    AddModifiers(out, tables);
    AddCharTables(out, tables);
    AddDeadKeys(out, tables);
    AddScanNames(out, "keyName", tables.m_keyNames);
    AddScanNames(out, "keyNameExt", tables.m_keyNamesExtended);
    AddDeadNames(out, tables);
    AddScanTables(out, tables);
    out.Add("static KbdTables s_tables KBD_DATA = {\n"
            "    &s_modifiers, s_charTables, s_deadKeys, s_keyNames, s_keyNameExts, s_deadNames,\n"
            "    s_scanToVk, %zu, s_scanToVkE0, s_scanToVkE1,\n"
            "    0x%08X, 0, 0, 0, 0, 0};\n\n",
            kScanTableSize, unsigned(tables.m_localeFlags));
    out.Add("KbdTables* KbdLayerDescriptor(void);\n\n"
            "KbdTables* KbdLayerDescriptor(void)\n{\n    return &s_tables;\n}\n");
    return out.Text();
}
