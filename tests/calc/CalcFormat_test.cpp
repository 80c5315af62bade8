#include "CalcTestSupport.h"
#include "calc/CalcFormat.h"

#include <cmath>
#include <limits>

// The texts of the stack display and the reading of typed numbers.

TEST(GeneralTextTest, FifteenSignificantDigits)
{
    EXPECT_EQ(GeneralText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(GeneralText(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(GeneralText(-2.0 / 3), "-0.666666666666667");
    EXPECT_EQ(GeneralText(0.1 + 0.2), "0.3");
    EXPECT_EQ(GeneralText(999999999999999.0), "999999999999999");
    EXPECT_EQ(GeneralText(123456789012345678.0), "1.23456789012346E17");
    EXPECT_EQ(GeneralText(3.141592653589793), "3.14159265358979");
}

TEST(GeneralTextTest, FixedBetweenExponentsMinus4And14)
{
    EXPECT_EQ(GeneralText(2), "2");
    EXPECT_EQ(GeneralText(123.45), "123.45");
    EXPECT_EQ(GeneralText(-1234.5), "-1234.5");
    EXPECT_EQ(GeneralText(0.0001), "0.0001");
    EXPECT_EQ(GeneralText(0.00012345), "0.00012345");
    EXPECT_EQ(GeneralText(1e14), "100000000000000");
    EXPECT_EQ(GeneralText(120), "120");
    // Rounding to 15 digits can carry into the next power of ten.
    EXPECT_EQ(GeneralText(99999999999999.99), "100000000000000");
    EXPECT_EQ(GeneralText(999999999999999.9), "1E15");
    EXPECT_EQ(GeneralText(0.000099999999999999999), "0.0001");
}

TEST(GeneralTextTest, ExponentFormOutsideThatRange)
{
    EXPECT_EQ(GeneralText(1e15), "1E15");
    EXPECT_EQ(GeneralText(5e-5), "5E-5");
    EXPECT_EQ(GeneralText(-5e-5), "-5E-5");
    EXPECT_EQ(GeneralText(1.5e20), "1.5E20");
    EXPECT_EQ(GeneralText(1.25e-100), "1.25E-100");
    EXPECT_EQ(GeneralText(7.257415615307994e306), "7.25741561530799E306");
    EXPECT_EQ(GeneralText(std::numeric_limits<double>::max()), "1.79769313486232E308");
    EXPECT_EQ(GeneralText(-std::numeric_limits<double>::max()), "-1.79769313486232E308");
    EXPECT_EQ(GeneralText(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
    // A subnormal holds fewer digits: the nearest to 1E-310 is a little less.
    EXPECT_EQ(GeneralText(1e-310), "9.99999999999997E-311");
}

TEST(GeneralTextTest, ZeroHasNoSign)
{
    EXPECT_EQ(GeneralText(0.0), "0");
    EXPECT_EQ(GeneralText(-0.0), "0");
}

TEST(EngineeringTextTest, ScalesBetweenATenthAndAThousand)
{
    EXPECT_EQ(EngineeringText(1500), "1.5k");
    EXPECT_EQ(EngineeringText(0.05), "50m");
    EXPECT_EQ(EngineeringText(0.5), "0.5");
    EXPECT_EQ(EngineeringText(123456789), "123.456789M");
    EXPECT_EQ(EngineeringText(1234.5), "1.2345k");
    EXPECT_EQ(EngineeringText(-0.002), "-2m");
    EXPECT_EQ(EngineeringText(2e-6), "2µ");
    EXPECT_EQ(EngineeringText(3e-9), "3n");
    EXPECT_EQ(EngineeringText(4.7e9), "4.7G");
    EXPECT_EQ(EngineeringText(1e15), "1000T");
    EXPECT_EQ(EngineeringText(1e-15), "0.001p");
}

TEST(EngineeringTextTest, PrefixLettersByStep)
{
    EXPECT_EQ(PrefixLetters(-4), "p");
    EXPECT_EQ(PrefixLetters(-2), "µ");
    EXPECT_EQ(PrefixLetters(0), "");
    EXPECT_EQ(PrefixLetters(2), "M");
    EXPECT_EQ(PrefixLetters(4), "T");
    EXPECT_EQ(PrefixLetters(5), "");
}

TEST(HexTextTest, LowThirtyTwoBitsOfTheTruncatedValue)
{
    EXPECT_EQ(HexText(255), "000000FF");
    EXPECT_EQ(HexText(-1), "FFFFFFFF");
    EXPECT_EQ(HexText(-2), "FFFFFFFE");
    EXPECT_EQ(HexText(3.9), "00000003");
    EXPECT_EQ(HexText(-3.9), "FFFFFFFD");
    EXPECT_EQ(HexText(4294967296.0 + 10), "0000000A");
    EXPECT_EQ(HexText(-4294967296.0), "00000000");
    EXPECT_EQ(HexText(1e300), "00000000"); // a multiple of 2^32; shown, never a fault
    EXPECT_EQ(HexText(9007199254740991.0), "FFFFFFFF");
    EXPECT_EQ(HexText(std::numeric_limits<double>::infinity()), "00000000");
}

TEST_F(CalcTest, RowTextFollowsTheModes)
{
    SetStack({ 1234.5, 1e16, 0, 3.9 });
    Calc.Repaint();
    EXPECT_EQ(Calc.ShownX, "1234.5");
    Calc.CalcEng = true;
    Calc.Repaint();
    EXPECT_EQ(Calc.ShownX, "1.2345k");
    EXPECT_EQ(Calc.RowText(6), "1E16");
    EXPECT_EQ(Calc.RowText(5), "0");
    EXPECT_EQ(Calc.RowText(4), "3.9");
    Calc.CalcHex = true;
    EXPECT_EQ(Calc.RowText(4), "00000003");
    EXPECT_EQ(Calc.RowText(0), "00000000");
}

TEST(ReadDecimalTest, AcceptsTheNumberGrammar)
{
    const struct {
        const char* text;
        double value;
    } cases[] = { { "12", 12 }, { "  -2.5e+3  ", -2500 }, { "+.5", 0.5 }, { ".", 0 }, { "1E", 1 },
        { "1e-", 1 }, { "7.", 7 }, { "0.1", 0.1 }, { "1e-400", 0 },
        { "123456789012345678901234567890", 1.2345678901234568e29 },
        { "4.9e-324", std::numeric_limits<double>::denorm_min() }, { "0.0000001e-320", 0 },
        { "1.7976931348623157e308", std::numeric_limits<double>::max() }, { "0e4999", 0 },
        { "1e-0499", 0 } };
    for (const auto& c : cases) {
        double value = -99;
        EXPECT_TRUE(ReadDecimal(c.text, value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(ReadDecimalTest, RejectsWhatIsNoNumber)
{
    for (const char* text : { "", " ", "-", "E3", "e", "1.2.3", "1e3.5", "12a", "1 2", "--1",
             "1e400", "1e0499", "1.8e308", "0e49990", "1e50000", "-1e309" }) {
        double value = 0;
        EXPECT_FALSE(ReadDecimal(text, value)) << text;
    }
}
