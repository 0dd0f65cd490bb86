#include "FormatTestSupport.h"

#include <cstdint>
#include <limits>

namespace {

using std::u16string;

const double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(FormatFloat, Fixed)
{
    EXPECT_FORMAT(u"3.141590|3.141590", u"%f|%.0f", 3.14159, 3.14159);
    EXPECT_FORMAT(u"-0.01", u"%.2f", -0.005);
    EXPECT_FORMAT(u"0.000000|0.000001", u"%.6f|%.6f", 0.0000004, 0.0000006);
    // Exact halves round away from zero (the C library of the host rounds them to even).
    EXPECT_FORMAT(u"0.13|-0.13|0.3|0.63", u"%.2f|%.2f|%.1f|%.2f", 0.125, -0.125, 0.25, 0.625);
    EXPECT_FORMAT(u"10.0|0.001", u"%.1f|%.3f", 9.96, 0.0005);
    EXPECT_FORMAT(u"-0003.14", u"%08.2f", -3.14159);
    EXPECT_FORMAT(u"+1.000000| 1.000000|-0.000000", u"%+f|% f|%f", 1.0, 1.0, -0.0);
    EXPECT_FORMAT(u"2.5       |      -2.5", u"%-10.1f|%10.1f", 2.5, -2.5);
    EXPECT_FORMAT(u"1000000000000000.000000", u"%f", 1e15);
    EXPECT_FORMAT(u"0.000", u"%.3f", 5e-324);
    EXPECT_FORMAT(u"0." + u16string(308, u'0'), u"%.400f", 0.0);
    EXPECT_FORMAT(u16string(504, u' ') + u"1.000000", u"%600f", 1.0);
}

TEST(FormatFloat, FixedFailsBeyond350Digits)
{
    EXPECT_FORMAT_FAILS(u"ab", u"ab%.60f", 1e300);
    EXPECT_FORMAT_FAILS(u"", u"%.42f", 1e308);
    GString s;
    EXPECT_EQ(s.Format(u"%.41f", 1e308), 1);
    EXPECT_EQ(s.Length(), 309 + 1 + 41);
}

TEST(FormatFloat, Exponential)
{
    EXPECT_FORMAT(u"1.234568e+04|1.000000E-300", u"%e|%E", 12345.678, 1e-300);
    EXPECT_FORMAT(u"0.000000e+00|-0.000000e+00", u"%e|%e", 0.0, -0.0);
    EXPECT_FORMAT(u"1.13e+00|1.0e+01", u"%.2e|%.1e", 1.125, 9.96);
    EXPECT_FORMAT(u"1.000000e+100|4.940656e-324", u"%e|%e", 1e100, 5e-324);
    EXPECT_FORMAT(u"+001.235e+03|1.2e+03   |", u"%+012.3e|%-10.1e|", 1234.5, 1234.5);
    EXPECT_FORMAT(u"1.797693134862315708e+308", u"%.18e", 1.7976931348623157e308);
}

TEST(FormatFloat, General)
{
    EXPECT_FORMAT(u"3|3.14159|3.14159", u"%g|%.6g|%.*g", 3.14159, 3.14159, -1, 3.14159);
    EXPECT_FORMAT(u"0.0001|1e-05", u"%.6g|%.6g", 0.0001, 0.00001);
    EXPECT_FORMAT(u"1.23e+06|1.23E+06", u"%.3g|%.3G", 1234567.0, 1234567.0);
    EXPECT_FORMAT(u"2.00|2.|0.00|0", u"%#.3g|%#g|%#.3g|%g", 2.0, 2.0, 0.0, 0.0);
    EXPECT_FORMAT(u"1E-10|1.00e-10", u"%.3G|%#.3g", 1e-10, 1e-10);
    EXPECT_FORMAT(u"100000|1e+06", u"%.6g|%.6g", 100000.0, 1000000.0);
    EXPECT_FORMAT(u"0.13|100|1e+03", u"%.2g|%.3g|%.3g", 0.125, 99.96, 999.6);
    EXPECT_FORMAT(u"-0.5|  -0.5|-000.5", u"%.3g|%6.3g|%06.3g", -0.5, -0.5, -0.5);
}

TEST(FormatFloat, Hexadecimal)
{
    EXPECT_FORMAT(u"0x1p+0|0x1p-1|0x0p+0|-0x0p+0", u"%a|%a|%a|%a", 1.0, 0.5, 0.0, -0.0);
    EXPECT_FORMAT(u"0x2.0p+0|0x2.00p+0|0x1.8p+0", u"%.1a|%.2a|%.1a", 1.96875, 0x1.ff8p+0, 0x1.7fp+0);
    EXPECT_FORMAT(u"0x1.FFP+7|0x1.ffp+7", u"%A|%a", 255.5, 255.5);
    EXPECT_FORMAT(u"0x0.0000000000001p-1022|0x1p+1023", u"%a|%a", 5e-324, 0x1p+1023);
    EXPECT_FORMAT(u"0x1.p+0|0x1.000p+0", u"%#a|%.3a", 1.0, 1.0);
    EXPECT_FORMAT(u"0x1.800000000000000p+0", u"%.15a", 1.5);
    EXPECT_FORMAT(u"0x00001p+0|-0x0001p+0|   -0x1p+0|0x1p+0    |", u"%010a|%010a|%10a|%-10a|", 1.0, -1.0, -1.0,
                  1.0);
}

TEST(FormatFloat, Engineering)
{
    EXPECT_FORMAT(u"1.23e+03|1.23 k|12.3 k|123. k", u"%F|%#F|%#F|%#F", 1234.5, 1234.5, 12345.0, 123456.0);
    EXPECT_FORMAT(u"123. \u00b5|1.50  |10.0 \u00b5", u"%#F|%#F|%#F", 0.0001234, 1.5, 1e-5);
    EXPECT_FORMAT(u"0.00e+00|-12.3 m|1.00 k", u"%F|%#F|%#F", 0.0, -0.0123, 999.9);
    EXPECT_FORMAT(u"1.00 Y|1.00 y|1.00e+27|1.00e-27", u"%#F|%#F|%#F|%#F", 1e24, 1e-24, 1e27, 1e-27);
    EXPECT_FORMAT(u"1.50e+03|1.50 T|1.2345e+03", u"%hF|%#LF|%.5F", 1500, 1500000000000LL, 1234.5);
    EXPECT_FORMAT(u"+1.00e+00|-001.00e+00", u"%+F|%011F", 1.0, -1.0);
    // The width counts the micro sign as one unit of the wide result.
    EXPECT_FORMAT(u"    123. \u00b5", u"%#10F", 0.0001234);
}

TEST(FormatFloat, SizesInBinaryUnits)
{
    EXPECT_FORMAT(u"1.5b10|1.5 Ki|5.0b00|5.0   |0.0b00", u"%U|%#U|%U|%#U|%U", 1536, 1536, 5, 5, 0);
    EXPECT_FORMAT(u"0.1 Ki|1.00 Ki|1.0 Ki", u"%#U|%#.3U|%#U", 100, 1023, 1000);
    EXPECT_FORMAT(u"99.b00|1.50 Ki|1.0000 Mi", u"%U|%#.*U|%#.5U", 99, -1, 1536, 1048576);
    EXPECT_FORMAT(u"16. Ei|-8.0 Ei", u"%#LU|%#LI", UINT64_MAX, INT64_MIN);
    EXPECT_FORMAT(u"-1.5b10|+5.0b00|001.5b10|1.5b10  |", u"%I|%+U|%08U|%-8U|", -1536, 5, 1536, 1536);
    EXPECT_FORMAT(u"4.0 Gi", u"%#U", 0xFFFFFFFFu);
}

TEST(FormatFloat, NonFiniteValues)
{
    EXPECT_FORMAT(u"{ nan}|{+inf}|{-inf}", u"%f|%e|%g", kNan, kInf, -kInf);
    EXPECT_FORMAT(u"{ nan}|{+inf}|{-inf}", u"%a|%F|%E", -kNan, kInf, -kInf);
    EXPECT_FORMAT(u"  {+inf}|00{-inf}|{ nan}  |", u"%8e|%08g|%-8a|", kInf, -kInf, kNan);
    EXPECT_FORMAT(u"{+inf}|{ nan}", u"%+F|% f", kInf, kNan);
    // The width of the special texts is not capped at 512 units.
    EXPECT_FORMAT(u16string(594, u' ') + u"{+inf}", u"%600f", kInf);
}

} // namespace
