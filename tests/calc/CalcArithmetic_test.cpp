#include "CalcTestSupport.h"
#include "calc/CalcFaults.h"

#include <cmath>
#include <limits>

// The operator keys, their faults, the logical keys and the SI prefixes.

namespace
{

constexpr double Max = std::numeric_limits<double>::max();

} // namespace

TEST_F(CalcTest, DivisionByZeroStoresNothing)
{
    Type("1");
    Enter();
    Type("0");
    try {
        Calc.CalcKey('/');
        FAIL() << "no fault";
    } catch (const EZeroDivide& fault) {
        EXPECT_STREQ(fault.what(), "Floating point division by zero");
    }
    EXPECT_EQ(X(), 0);
    EXPECT_EQ(Y(), 1);
    EXPECT_EQ(Calc.EntryState, esEntering); // operators leave the state as it was
    EXPECT_EQ(Calc.RowText(7), "0");
    EXPECT_THROW(Calc.CalcKey('/'), EZeroDivide); // nothing dropped: still 1 / 0
}

TEST_F(CalcTest, ZeroOverZeroIsInvalid)
{
    SetStack({ 0, 0 });
    EXPECT_THROW(Calc.CalcKey('/'), EInvalidOp);
}

TEST_F(CalcTest, OverflowIsAFaultOfEveryOperator)
{
    SetStack({ Max, Max, 7 });
    EXPECT_THROW(Calc.CalcKey('+'), EOverflow);
    EXPECT_THROW(Calc.CalcKey('*'), EOverflow);
    EXPECT_THROW(Calc.CalcKey('x'), EOverflow);
    SetStack({ -Max, Max });
    EXPECT_THROW(Calc.CalcKey('-'), EOverflow);
    SetStack({ 0.5, Max });
    EXPECT_THROW(Calc.CalcKey('/'), EOverflow);
    SetStack({ 400, 10 });
    EXPECT_THROW(Calc.CalcKey('^'), EOverflow);
    EXPECT_EQ(X(), 400);
    EXPECT_EQ(Y(), 10);
    try {
        SetStack({ 2, Max });
        Calc.CalcKey('*');
    } catch (const EMathError& fault) {
        EXPECT_STREQ(fault.what(), "Floating point overflow");
    }
}

TEST_F(CalcTest, UnderflowQuietlyGivesZeroOrASubnormal)
{
    SetStack({ 1e-300, 1e-300 });
    EXPECT_TRUE(Calc.CalcKey('*'));
    EXPECT_EQ(X(), 0);
    SetStack({ 1e10, 1e-300 });
    Calc.CalcKey('/');
    EXPECT_EQ(X(), 1e-300 / 1e10);
    EXPECT_EQ(std::fpclassify(X()), FP_SUBNORMAL);
}

TEST_F(CalcTest, RaiseNeedsAPositiveBase)
{
    Type("9");
    Enter();
    Type("2^");
    EXPECT_EQ(X(), 81);
    Type("2");
    Enter();
    Type("0.5^");
    EXPECT_NEAR(X(), std::sqrt(2.0), 1e-15);

    SetStack({ 2, 0 });
    try {
        Calc.CalcKey('^');
        FAIL() << "no fault";
    } catch (const EZeroDivide&) {
    }
    Type("8S");
    Enter();
    Type("3");
    try {
        Calc.CalcKey('^');
        FAIL() << "no fault";
    } catch (const EInvalidOp& fault) {
        EXPECT_STREQ(fault.what(), "Invalid floating point operation");
    }
    EXPECT_EQ(X(), 3);
    EXPECT_EQ(Y(), -8);
}

TEST_F(CalcTest, ChangeSignFinishesTheEntry)
{
    Type("4s");
    EXPECT_EQ(X(), -4);
    EXPECT_EQ(Calc.EntryState, esResult);
    Type("S");
    EXPECT_EQ(X(), 4);
}

TEST_F(CalcTest, LogicalKeysWorkOnTruncatedIntegers)
{
    SetStack({ 10, 12 });
    Calc.CalcKey('&');
    EXPECT_EQ(X(), 8);
    SetStack({ 10, 12 });
    Calc.CalcKey('|');
    EXPECT_EQ(X(), 14);
    SetStack({ 10, 12 });
    Calc.CalcKey('\\');
    EXPECT_EQ(X(), 6);
    SetStack({ 3.2, 5.9 });
    Calc.CalcKey('&');
    EXPECT_EQ(X(), 1);
    SetStack({ -1, -6 });
    Calc.CalcKey('&'); // two's complement: -6 & -1 is -6
    EXPECT_EQ(X(), -6);
}

TEST_F(CalcTest, UnaryLogicalKeys)
{
    SetStack({ 0 });
    Calc.CalcKey('~');
    EXPECT_EQ(X(), -1);
    SetStack({ 5 });
    Calc.CalcKey('~');
    EXPECT_EQ(X(), -6);
    SetStack({ -3 });
    Calc.CalcKey('>');
    EXPECT_EQ(X(), -1);
    SetStack({ -1 });
    Calc.CalcKey('>');
    EXPECT_EQ(X(), 0);
    SetStack({ 3 });
    Calc.CalcKey('<');
    EXPECT_EQ(X(), 6);
    SetStack({ 4611686018427387904.0 }); // 2^62 doubles into the sign bit
    Calc.CalcKey('<');
    EXPECT_EQ(X(), -9223372036854775808.0);
    EXPECT_EQ(Y(), 0); // no drop
}

TEST_F(CalcTest, LogicalKeysFaultFrom2To63)
{
    SetStack({ 9223372036854775808.0, 1 });
    Calc.EntryState = esAfterEnter;
    EXPECT_THROW(Calc.CalcKey('~'), EInvalidOp);
    EXPECT_EQ(Calc.EntryState, esResult); // set before computing
    EXPECT_EQ(X(), 9223372036854775808.0);
    EXPECT_THROW(Calc.CalcKey('&'), EInvalidOp);
    EXPECT_EQ(Y(), 1);
    SetStack({ 1, -9223372036854775808.0 });
    EXPECT_THROW(Calc.CalcKey('|'), EInvalidOp);
    SetStack({ 9223372036854774784.0 }); // the largest double below 2^63
    Calc.CalcKey('>');
    EXPECT_EQ(X(), 4611686018427387392.0);
}

TEST_F(CalcTest, PrefixesScaleXAndTurnOnEngineering)
{
    Type("5k");
    EXPECT_EQ(X(), 5000);
    EXPECT_TRUE(Calc.CalcEng);
    EXPECT_EQ(Calc.EntryState, esResult);
    EXPECT_EQ(Calc.ShownX, "5k");
    Type("5m");
    EXPECT_EQ(X(), 5.0 / 1000);
    EXPECT_EQ(Y(), 5000);

    const struct {
        char key;
        double factor;
        bool multiply;
    } cases[] = { { 'K', 1e3, true }, { 'M', 1e6, true }, { 'g', 1e9, true }, { 'G', 1e9, true },
        { 't', 1e12, true }, { 'T', 1e12, true }, { 'u', 1e6, false }, { 'U', 1e6, false },
        { '\xB5', 1e6, false }, { 'n', 1e9, false }, { 'N', 1e9, false }, { 'p', 1e12, false },
        { 'P', 1e12, false } };
    for (const auto& c : cases) {
        SetStack({ 3 });
        EXPECT_TRUE(Calc.CalcKey(static_cast<uint8_t>(c.key))) << c.key;
        EXPECT_EQ(X(), c.multiply ? 3 * c.factor : 3 / c.factor) << c.key;
    }
}

TEST_F(CalcTest, PrefixFaultsAndHexModeRejection)
{
    SetStack({ 1e300 });
    EXPECT_THROW(Calc.CalcKey('T'), EOverflow);
    EXPECT_EQ(X(), 1e300);

    SetStack({ 7 });
    Calc.CalcEng = false;
    Calc.CalcHex = true;
    EXPECT_FALSE(Calc.CalcKey('k'));
    EXPECT_FALSE(Calc.CalcKey('m'));
    EXPECT_EQ(X(), 7);
    EXPECT_FALSE(Calc.CalcEng);
}

TEST_F(CalcTest, HexModeClampsAfterEveryKey)
{
    SetStack({ 5000000000.0, -1, -4294967296.0, 4294967295.5 });
    Calc.CalcHex = true;
    Calc.CalcHexClick();
    EXPECT_EQ(X(), 0);
    EXPECT_EQ(Y(), -1);
    EXPECT_EQ(Z(), -4294967296.0);
    EXPECT_EQ(Calc.CalcStack[3], 0);
    EXPECT_EQ(Calc.RowText(6), "FFFFFFFF");

    SetStack({ 40, 2 });
    Calc.CalcKey('^'); // 2^40 is beyond 32 bits
    EXPECT_EQ(X(), 0);
}

TEST_F(CalcTest, HexModeArithmeticStaysFloatingPoint)
{
    Type("h7");
    EXPECT_TRUE(Calc.CalcHex);
    Enter();
    Type("2/");
    EXPECT_EQ(X(), 3.5);
    EXPECT_EQ(Calc.ShownX, "00000003");
    Type("H");
    EXPECT_FALSE(Calc.CalcHex);
    EXPECT_EQ(Calc.ShownX, "3.5");
}
