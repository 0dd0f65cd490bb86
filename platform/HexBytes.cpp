// Byte patterns written as upper-case hexadecimal texts in the string tables.
#include "embedded/InstallBase.h"

namespace {

int HexDigitValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    return -1;
}

} // namespace

unsigned char* CInstallBase::HexBytesFromString(uint32_t id, int32_t& size)
{
    GString text;
    if (!GetString(id, text) || text.Length() == 0)
        return nullptr;
    const char* digits = text.ToUtf8();
    if (digits == nullptr)
        return nullptr;
    // An odd final digit is ignored.
    const int32_t count = text.Length() / 2;
    size = count;
    unsigned char* bytes = new unsigned char[std::size_t(count) + 2];
    for (int32_t i = 0; i < count; ++i) {
        const int high = HexDigitValue(digits[2 * i]);
        const int low = HexDigitValue(digits[2 * i + 1]);
        if (high < 0 || low < 0) {
            delete[] bytes;
            return nullptr;
        }
        bytes[i] = static_cast<unsigned char>(high << 4 | low);
    }
    return bytes;
}
