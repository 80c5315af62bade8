#include "CalcTestSupport.h"
#include "calc/CalcFaults.h"

#include <cmath>
#include <limits>

// The function buttons, the angle modes and the factorial.

namespace
{

constexpr double Max = std::numeric_limits<double>::max();

} // namespace

TEST_F(CalcTest, TheSquareRootOfZeroIsZero)
{
    Type("0");
    Calc.CalcSqrt();
    EXPECT_EQ(X(), 0);
}

TEST_F(CalcTest, FunctionsFinishTheEntryAndKeepOtherLevels)
{
    Type("4");
    Enter();
    Type("16");
    Calc.CalcSqrt();
    EXPECT_EQ(X(), 4);
    EXPECT_EQ(Y(), 4);

    EXPECT_EQ(Calc.EntryState, esResult);
    Calc.CalcSqr();
    EXPECT_EQ(X(), 16);
    Calc.CalcInv();
    EXPECT_EQ(X(), 0.0625);
    Type("2"); // a result: the next number lifts it
    EXPECT_EQ(Y(), 0.0625);
}

TEST_F(CalcTest, LogarithmsAndTheirInverses)
{
    SetStack({ 2 });
    Calc.CalcLog();
    EXPECT_EQ(Calc.ShownX, "0.301029995663981");
    SetStack({ 1000 });
    Calc.CalcLog();
    EXPECT_EQ(X(), 3);
    Calc.CalcAntiLog();
    EXPECT_EQ(X(), 1000);
    SetStack({ 1 });
    Calc.CalcExp();
    EXPECT_EQ(X(), std::exp(1.0));
    Calc.CalcLn();
    EXPECT_EQ(X(), 1);
    SetStack({ -3 });
    Calc.CalcAntiLog();
    EXPECT_EQ(X(), 0.001);
}

TEST_F(CalcTest, FunctionFaultsLeaveXButFinishTheEntry)
{
    const struct {
        double x;
        void (TCalculator::*button)();
        const char* text;
    } cases[] = {
        { 0, &TCalculator::CalcInv, "Floating point division by zero" },
        { 0, &TCalculator::CalcLog, "Floating point division by zero" },
        { 0, &TCalculator::CalcLn, "Floating point division by zero" },
        { -1, &TCalculator::CalcSqrt, "Invalid floating point operation" },
        { -1, &TCalculator::CalcLog, "Invalid floating point operation" },
        { -1, &TCalculator::CalcLn, "Invalid floating point operation" },
        { 1e19, &TCalculator::CalcFac, "Invalid floating point operation" },
        { 710, &TCalculator::CalcExp, "Floating point overflow" },
        { 309, &TCalculator::CalcAntiLog, "Floating point overflow" },
        { 1e155, &TCalculator::CalcSqr, "Floating point overflow" },
        { 4e-324, &TCalculator::CalcInv, "Floating point overflow" },
        { 171, &TCalculator::CalcFac, "Floating point overflow" },
    };
    for (const auto& c : cases) {
        SetStack({ c.x, 5 });
        Calc.EntryState = esAfterEnter;
        try {
            (Calc.*c.button)();
            ADD_FAILURE() << "no fault for " << c.x << " (" << c.text << ")";
        } catch (const EMathError& fault) {
            EXPECT_STREQ(fault.what(), c.text) << c.x;
        }
        EXPECT_EQ(X(), c.x);
        EXPECT_EQ(Y(), 5);
        EXPECT_EQ(Calc.EntryState, esResult);
    }
}

TEST_F(CalcTest, UnderflowingFunctionsGiveZero)
{
    SetStack({ -800 });
    Calc.CalcExp();
    EXPECT_EQ(X(), 0);
    SetStack({ 1e-200 });
    Calc.CalcSqr();
    EXPECT_EQ(X(), 0);
}

TEST_F(CalcTest, TrigonometryInDegrees)
{
    SetStack({ 30 });
    Calc.CalcSin();
    EXPECT_EQ(Calc.ShownX, "0.5");
    SetStack({ 60 });
    Calc.CalcCos();
    EXPECT_EQ(Calc.ShownX, "0.5");
    SetStack({ 45 });
    Calc.CalcTan();
    EXPECT_EQ(Calc.ShownX, "1");
    SetStack({ 90 }); // the cosine is not exactly 0: a large number, no fault
    Calc.CalcTan();
    EXPECT_GT(std::fabs(X()), 1e15);
}

TEST_F(CalcTest, InverseTrigonometryIsReleasedAfterEachUse)
{
    const struct {
        double x;
        void (TCalculator::*button)();
        const char* shown;
    } cases[] = {
        { 0.5, &TCalculator::CalcSin, "30" },
        { -1, &TCalculator::CalcSin, "-90" },
        { 1, &TCalculator::CalcSin, "90" },
        { -0.5, &TCalculator::CalcCos, "120" },
        { -1, &TCalculator::CalcCos, "180" },
        { 0, &TCalculator::CalcCos, "90" },
        { 1, &TCalculator::CalcCos, "0" },
        { 1, &TCalculator::CalcTan, "45" },
        { -1e300, &TCalculator::CalcTan, "-90" },
    };
    for (const auto& c : cases) {
        SetStack({ c.x });
        Calc.CalcInvTrig = true;
        (Calc.*c.button)();
        EXPECT_EQ(Calc.ShownX, c.shown) << c.x;
        EXPECT_FALSE(Calc.CalcInvTrig);
    }
}

TEST_F(CalcTest, FaultingInverseKeepsInvDown)
{
    for (auto button : { &TCalculator::CalcSin, &TCalculator::CalcCos }) {
        SetStack({ 2 });
        Calc.CalcInvTrig = true;
        EXPECT_THROW((Calc.*button)(), EInvalidOp);
        EXPECT_EQ(X(), 2);
        EXPECT_TRUE(Calc.CalcInvTrig);
    }
}

TEST_F(CalcTest, RadiansMode)
{
    Calc.CalcRad = true;
    Calc.CalcPi();
    Calc.CalcCos();
    EXPECT_EQ(X(), -1);
    SetStack({ 1 });
    Calc.CalcInvTrig = true;
    Calc.CalcTan();
    EXPECT_EQ(X(), 3.141592653589793 / 4);
}

TEST_F(CalcTest, HugeAnglesHaveZeroSineAndCosine)
{
    Calc.CalcRad = true;
    SetStack({ 1e19 });
    Calc.CalcSin();
    EXPECT_EQ(X(), 0);
    SetStack({ -1e19 });
    Calc.CalcCos();
    EXPECT_EQ(X(), 0);
    SetStack({ 1e19 });
    EXPECT_THROW(Calc.CalcTan(), EInvalidOp); // 0 / 0
}

TEST_F(CalcTest, RectangularToPolarCoversEveryQuadrant)
{
    const struct {
        double x, y, r, angle;
    } cases[] = {
        { 1, -1, std::sqrt(2.0), -45 },
        { -1, -1, std::sqrt(2.0), 225 },
        { 0, -1, 1, 270 },
        { 0, 2, 2, 90 },
        { -1, 0, 1, 180 },
        { 0, 0, 0, 0 },
        { -1, 1, std::sqrt(2.0), 135 },
    };
    for (const auto& c : cases) {
        SetStack({ c.x, c.y });
        Calc.CalcRP();
        EXPECT_DOUBLE_EQ(X(), c.r) << c.x << "," << c.y;
        EXPECT_NEAR(Y(), c.angle, 1e-12) << c.x << "," << c.y;
    }
}

TEST_F(CalcTest, PolarConversionsGoBothWays)
{
    SetStack({ 3, 4, 9 });
    Calc.CalcRP();
    EXPECT_EQ(X(), 5);
    EXPECT_EQ(Calc.RowText(6), "53.130102354156");
    EXPECT_NEAR(Y(), 53.13010235415598, 1e-12);
    EXPECT_EQ(Z(), 9);
    Calc.CalcPR();
    EXPECT_NEAR(X(), 3, 1e-14);
    EXPECT_NEAR(Y(), 4, 1e-14);
    EXPECT_EQ(Z(), 9);

    Calc.CalcRad = true;
    SetStack({ 2, 3.141592653589793 / 2 });
    Calc.CalcPR();
    EXPECT_NEAR(X(), 0, 1e-15);
    EXPECT_EQ(Y(), 2);
}

TEST_F(CalcTest, PolarConversionsFaultOnlyBeyondTheDoubleRange)
{
    SetStack({ Max, Max });
    EXPECT_THROW(Calc.CalcRP(), EOverflow);
    EXPECT_EQ(X(), Max);
    SetStack({ 1e300, 1e300 }); // the squares overflow a double, not the sum's root
    Calc.CalcRP();
    EXPECT_DOUBLE_EQ(X(), std::sqrt(2.0) * 1e300);
    EXPECT_NEAR(Y(), 45, 1e-12);
}

TEST_F(CalcTest, Factorial)
{
    const struct {
        double x, result;
    } cases[] = { { 5, 120 }, { 0, 1 }, { 1, 1 }, { -3, 1 }, { 4.9, 24 }, { 1.99, 1 },
        { 3000000000.0, 1 } };
    for (const auto& c : cases) {
        SetStack({ c.x });
        Calc.CalcFac();
        EXPECT_EQ(X(), c.result) << c.x;
    }
    SetStack({ 170 });
    Calc.CalcFac();
    EXPECT_EQ(Calc.ShownX, "7.25741561530799E306");
    SetStack({ 4294967296.0 + 5 }); // only the low 32 bits count
    Calc.CalcFac();
    EXPECT_EQ(X(), 120);
}

TEST_F(CalcTest, EngineeringToggleFinishesTheEntry)
{
    Type("1234.5");
    Calc.CalcEng = true;
    Calc.CalcEngClick();
    EXPECT_EQ(Calc.EntryState, esResult);
    EXPECT_EQ(Calc.ShownX, "1.2345k");
    Calc.CalcEng = false;
    Calc.CalcEngClick();
    EXPECT_EQ(Calc.ShownX, "1234.5");
}
