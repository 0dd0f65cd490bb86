// The engine against the C library, on the directives where both dialects print the same.

#include "FormatRandom.h"
#include "FormatTestSupport.h"

#include <cstdio>

namespace {

const int kCases = 100000;
const int kReportedMismatches = 10;

// Compares formatted values; reports at most kReportedMismatches failures per test.
class CComparison {
public:
    explicit CComparison(const CFormatRandom& random) : m_seed(random.Seed()), m_mismatches(0) {}
    ~CComparison()
    {
        if (m_mismatches > 0)
            ADD_FAILURE() << m_mismatches << " mismatches; repeat with FORMAT_TEST_SEED=" << m_seed;
    }
    CComparison(const CComparison&) = delete;
    CComparison& operator=(const CComparison&) = delete;

    // True when both print the same; otherwise the outputs are kept for Report.
    template <class T>
    bool Agrees(const std::string& format, T value)
    {
        char expected[1024];
        std::snprintf(expected, sizeof expected, format.c_str(), value);
        GString s;
        int result = s.Format(Widen(format).c_str(), value);
        if (result == 1 && TextW(s) == Widen(expected))
            return true;
        m_detail = "format \"" + format + "\": C library \"" + expected + "\", engine \"" + Printable(TextW(s)) +
                   "\" (result " + std::to_string(result) + ")";
        return false;
    }

    void Report()
    {
        if (++m_mismatches <= kReportedMismatches)
            ADD_FAILURE() << m_detail;
    }

    template <class T>
    void Check(const std::string& format, T value)
    {
        if (!Agrees(format, value))
            Report();
    }

private:
    uint64_t m_seed;
    int m_mismatches;
    std::string m_detail;
};

std::string Flags(CFormatRandom& random, const char* candidates)
{
    std::string flags;
    for (const char* flag = candidates; *flag; ++flag) {
        if (random.Chance(25))
            flags += *flag;
    }
    return flags;
}

bool HasFlag(const std::string& flags, char flag)
{
    return flags.find(flag) != std::string::npos;
}

TEST(FormatDifferential, IntegersAgreeWithTheCLibrary)
{
    CFormatRandom random;
    CComparison comparison(random);
    for (int i = 0; i < kCases; ++i) {
        static const char kLetters[] = "diuxXo";
        char letter = kLetters[random.Range(0, 5)];
        bool isSigned = letter == 'd' || letter == 'i';
        bool is64 = random.Chance(50);
        uint64_t bits = random.Bits() >> random.Range(0, 63);
        if (!is64)
            bits = static_cast<uint32_t>(bits);
        bool negative = isSigned && (is64 ? int64_t(bits) < 0 : int32_t(bits) < 0);

        int precision = random.Chance(50) ? -1 : random.Range(0, 25);
        // The engine reads a precision of 0 as none, so 0 prints "0" where C prints nothing.
        if (precision == 0 && bits == 0)
            precision = -1;
        // C libraries disagree on + and space for unsigned conversions (mingw-w64 prints them).
        std::string flags = Flags(random, isSigned ? "-+ #0" : "-#0");
        // The alternate forms agree only for non-zero octal, and lower-case hex without a
        // precision (the engine's prefix is "0x" for X too).
        if (HasFlag(flags, '#') && (bits == 0 || (letter != 'o' && letter != 'x') || (letter == 'x' && precision >= 0)))
            flags.erase(flags.find('#'), 1);
        // Zero padding agrees only where no sign, prefix or precision comes into play.
        bool showsSign = isSigned && (negative || HasFlag(flags, '+') || HasFlag(flags, ' '));
        if (HasFlag(flags, '0') && (precision >= 0 || showsSign || HasFlag(flags, '#')))
            flags.erase(flags.find('0'), 1);

        std::string format = "[%";
        format += flags;
        if (random.Chance(50))
            format += std::to_string(random.Range(1, 30));
        if (precision >= 0) {
            format += '.';
            if (precision > 0 || random.Chance(50))
                format += std::to_string(precision);
        }
        if (is64)
            format += "ll";
        format += letter;
        format += ']';

        if (is64 && isSigned)
            comparison.Check(format, static_cast<long long>(bits));
        else if (is64)
            comparison.Check(format, static_cast<unsigned long long>(bits));
        else if (isSigned)
            comparison.Check(format, static_cast<int>(static_cast<uint32_t>(bits)));
        else
            comparison.Check(format, static_cast<unsigned>(bits));
    }
}

// True when the value lies exactly halfway between two outputs of the conversion, where the C
// library rounds to even and the engine away from zero. Forty more digits tell the halves apart.
bool IsRoundingTie(char letter, int precision, double value)
{
    char digits[512];
    if (letter == 'f') {
        std::snprintf(digits, sizeof digits, "%.*f", precision + 40, std::fabs(value));
        const char* dropped = std::strchr(digits, '.') + 1 + precision;
        return dropped[0] == '5' && std::strspn(dropped + 1, "0") == 39;
    }
    std::snprintf(digits, sizeof digits, "%.*e", precision + 40, std::fabs(value));
    const char* dropped = digits + 2 + precision;
    return dropped[0] == '5' && std::strspn(dropped + 1, "0") == 39;
}

TEST(FormatDifferential, FixedAndExponentialAgreeWithTheCLibraryOffTies)
{
    CFormatRandom random;
    CComparison comparison(random);
    int ties = 0;
    for (int i = 0; i < kCases; ++i) {
        static const char kLetters[] = "feE";
        char letter = kLetters[random.Range(0, 2)];
        double value;
        switch (random.Range(0, 2)) {
        case 0: value = letter == 'f' ? random.Scaled(-70, 200) : random.AnyDouble(); break;
        case 1: value = random.Decimal(); break;
        default: value = random.Scaled(-20, 40); break;
        }
        // The engine reads a precision of 0 as none (6), and caps it at 308.
        int precision = random.Chance(20) ? -1 : random.Chance(95) ? random.Range(1, 20) : random.Range(21, 120);
        std::string format = "%";
        format += Flags(random, "-+ 0#");
        if (random.Chance(50))
            format += std::to_string(random.Range(1, 40));
        if (precision >= 0) {
            format += '.';
            format += std::to_string(precision);
        }
        format += letter;
        if (comparison.Agrees(format, value))
            continue;
        if (IsRoundingTie(letter, precision < 0 ? 6 : precision, value))
            ++ties;
        else
            comparison.Report();
    }
    // Ties are rare; many would mean the filter hides real differences.
    EXPECT_LT(ties, kCases / 100);
}

} // namespace
