#pragma once
// Random cases for the tests that compare the formatting engine with the C library. The seed is
// new on every run; FORMAT_TEST_SEED=<number> repeats a run, and failures print the seed.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

class CFormatRandom {
public:
    CFormatRandom() : m_seed(ChooseSeed()), m_engine(m_seed) {}

    uint64_t Seed() const { return m_seed; }
    uint64_t Bits() { return m_engine(); }
    // A number from low to high inclusive.
    int Range(int low, int high) { return low + static_cast<int>(m_engine() % uint64_t(high - low + 1)); }
    bool Chance(int percent) { return Range(1, 100) <= percent; }

    // Any finite double, every exponent equally likely.
    double AnyDouble()
    {
        for (;;) {
            uint64_t bits = Bits();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (std::isfinite(value))
                return value;
        }
    }

    // A 53-bit mantissa scaled by 2^low to 2^high, either sign.
    double Scaled(int low, int high)
    {
        double value = std::ldexp(static_cast<double>(Bits() >> 11), Range(low, high) - 53);
        return Chance(50) ? -value : value;
    }

    // Decimal-looking values (a few digits after the point), which sit close to rounding ties.
    double Decimal()
    {
        static const double kScales[] = {1, 10, 100, 1000, 10000, 100000};
        double value = static_cast<double>(Bits() % 10000000) / kScales[Range(0, 5)];
        return Chance(50) ? -value : value;
    }

private:
    static uint64_t ChooseSeed()
    {
        if (const char* text = std::getenv("FORMAT_TEST_SEED"))
            return std::strtoull(text, nullptr, 0);
        std::random_device device;
        return uint64_t(device()) << 32 | device();
    }

    uint64_t m_seed;
    std::mt19937_64 m_engine;
};

inline std::u16string Widen(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}
