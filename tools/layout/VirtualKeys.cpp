#include "tools/layout/VirtualKeys.h"

#include "tools/layout/KlcText.h"

namespace {

struct NamedKey
{
    const char* m_name;
    uint8_t m_code;
};

// Letters and digits are named by themselves and handled apart.
const NamedKey s_namedKeys[] = {
    {"CANCEL", 0x03},     {"BACK", 0x08},        {"TAB", 0x09},        {"CLEAR", 0x0C},     {"RETURN", 0x0D},
    {"PAUSE", 0x13},      {"CAPITAL", 0x14},     {"KANA", 0x15},       {"ESCAPE", 0x1B},    {"CONVERT", 0x1C},
    {"NONCONVERT", 0x1D}, {"SPACE", 0x20},       {"PRIOR", 0x21},      {"NEXT", 0x22},      {"END", 0x23},
    {"HOME", 0x24},       {"LEFT", 0x25},        {"UP", 0x26},         {"RIGHT", 0x27},     {"DOWN", 0x28},
    {"SELECT", 0x29},     {"PRINT", 0x2A},       {"EXECUTE", 0x2B},    {"SNAPSHOT", 0x2C},  {"INSERT", 0x2D},
    {"DELETE", 0x2E},     {"HELP", 0x2F},        {"LWIN", 0x5B},       {"RWIN", 0x5C},      {"APPS", 0x5D},
    {"SLEEP", 0x5F},      {"NUMPAD0", 0x60},     {"NUMPAD1", 0x61},    {"NUMPAD2", 0x62},   {"NUMPAD3", 0x63},
    {"NUMPAD4", 0x64},    {"NUMPAD5", 0x65},     {"NUMPAD6", 0x66},    {"NUMPAD7", 0x67},   {"NUMPAD8", 0x68},
    {"NUMPAD9", 0x69},    {"MULTIPLY", 0x6A},    {"ADD", 0x6B},        {"SEPARATOR", 0x6C}, {"SUBTRACT", 0x6D},
    {"DECIMAL", 0x6E},    {"DIVIDE", 0x6F},      {"NUMLOCK", 0x90},    {"SCROLL", 0x91},    {"LSHIFT", 0xA0},
    {"RSHIFT", 0xA1},     {"LCONTROL", 0xA2},    {"RCONTROL", 0xA3},   {"LMENU", 0xA4},     {"RMENU", 0xA5},
    {"OEM_1", 0xBA},      {"OEM_PLUS", 0xBB},    {"OEM_COMMA", 0xBC},  {"OEM_MINUS", 0xBD}, {"OEM_PERIOD", 0xBE},
    {"OEM_2", 0xBF},      {"OEM_3", 0xC0},       {"ABNT_C1", 0xC1},    {"ABNT_C2", 0xC2},   {"OEM_4", 0xDB},
    {"OEM_5", 0xDC},      {"OEM_6", 0xDD},       {"OEM_7", 0xDE},      {"OEM_8", 0xDF},     {"OEM_AX", 0xE1},
    {"OEM_102", 0xE2},    {"ICO_HELP", 0xE3},    {"ICO_00", 0xE4},     {"ICO_CLEAR", 0xE6}, {"OEM_RESET", 0xE9},
    {"OEM_JUMP", 0xEA},   {"OEM_PA1", 0xEB},     {"OEM_PA2", 0xEC},    {"OEM_PA3", 0xED},   {"OEM_WSCTRL", 0xEE},
    {"OEM_CUSEL", 0xEF},  {"OEM_ATTN", 0xF0},    {"OEM_FINISH", 0xF1}, {"OEM_COPY", 0xF2},  {"OEM_AUTO", 0xF3},
    {"OEM_ENLW", 0xF4},   {"OEM_BACKTAB", 0xF5}, {"ATTN", 0xF6},       {"CRSEL", 0xF7},     {"EXSEL", 0xF8},
    {"EREOF", 0xF9},      {"PLAY", 0xFA},        {"ZOOM", 0xFB},       {"PA1", 0xFD},       {"OEM_CLEAR", 0xFE},
};

const char* const s_functionKeyNames[24] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                            "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                            "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
constexpr uint8_t kF1 = 0x70;

const char* const s_letterNames[36] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B",
                                       "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N",
                                       "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};

} // namespace

int VirtualKeyFromName(std::u16string_view name, uint8_t& code)
{
    if (name.size() == 1) {
        char16_t c = name[0];
        if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) {
            code = uint8_t(c);
            return 1;
        }
        return 0;
    }
    for (const NamedKey& key : s_namedKeys) {
        if (KlcEquals(name, key.m_name)) {
            code = key.m_code;
            return 1;
        }
    }
    for (int i = 0; i < 24; ++i) {
        if (KlcEquals(name, s_functionKeyNames[i])) {
            code = uint8_t(kF1 + i);
            return 1;
        }
    }
    return 0;
}

const char* VirtualKeyName(uint8_t code)
{
    if (code >= '0' && code <= '9')
        return s_letterNames[code - '0'];
    if (code >= 'A' && code <= 'Z')
        return s_letterNames[10 + code - 'A'];
    if (code >= kF1 && code < kF1 + 24)
        return s_functionKeyNames[code - kF1];
    for (const NamedKey& key : s_namedKeys) {
        if (key.m_code == code)
            return key.m_name;
    }
    return nullptr;
}
