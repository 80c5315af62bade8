#include "calc/CalcFaults.h"
#include "calc/Calculator.h"

#include <cmath>

// The scientific function buttons. Each sets EntryState to esResult first, so
// even a faulting button leaves the entry finished.

namespace
{

// π at the widest precision for angle conversions; the stack gets it rounded.
constexpr long double PiWide = 3.14159265358979323846264338327950288L;
constexpr double PiStored = 3.141592653589793;

// An angle of 2^63 radians or more has a sine and a cosine of 0.
constexpr long double HugeAngle = 9223372036854775808.0L;

long double SafeSin(long double radians)
{
    return std::fabs(radians) >= HugeAngle ? 0.0L : std::sin(radians);
}

long double SafeCos(long double radians)
{
    return std::fabs(radians) >= HugeAngle ? 0.0L : std::cos(radians);
}

long double WideQuotient(long double y, long double x)
{
    if (x == 0) {
        if (y == 0)
            throw EInvalidOp();
        throw EZeroDivide();
    }
    return y / x;
}

// ln and log share their faults: 0 divides by zero, a negative is invalid.
void CheckLogArgument(double v)
{
    if (v < 0)
        throw EInvalidOp();
    if (v == 0)
        throw EZeroDivide();
}

void CheckUnitRange(double v)
{
    if (!(v >= -1 && v <= 1))
        throw EInvalidOp();
}

} // namespace

long double TCalculator::ToRadians(long double v) const
{
    return CalcRad ? v : v / 180 * PiWide;
}

long double TCalculator::FromRadians(long double v) const
{
    return CalcRad ? v : v / PiWide * 180;
}

void TCalculator::CalcInv()
{
    EntryState = esResult;
    if (X() == 0)
        throw EZeroDivide();
    X() = Stored(1 / X());
    Repaint();
}

void TCalculator::CalcSqrt()
{
    EntryState = esResult;
    if (X() < 0)
        throw EInvalidOp();
    X() = std::sqrt(X());
    Repaint();
}

void TCalculator::CalcSqr()
{
    EntryState = esResult;
    X() = Stored(X() * X());
    Repaint();
}

void TCalculator::CalcLog()
{
    EntryState = esResult;
    CheckLogArgument(X());
    X() = Stored(std::log10(static_cast<long double>(X())));
    Repaint();
}

void TCalculator::CalcAntiLog()
{
    EntryState = esResult;
    X() = Stored(std::pow(10.0L, static_cast<long double>(X())));
    Repaint();
}

void TCalculator::CalcLn()
{
    EntryState = esResult;
    CheckLogArgument(X());
    X() = Stored(std::log(static_cast<long double>(X())));
    Repaint();
}

void TCalculator::CalcExp()
{
    EntryState = esResult;
    X() = Stored(std::exp(static_cast<long double>(X())));
    Repaint();
}

void TCalculator::CalcSin()
{
    EntryState = esResult;
    if (CalcInvTrig) {
        CheckUnitRange(X());
        X() = Stored(FromRadians(std::asin(static_cast<long double>(X()))));
    } else
        X() = Stored(SafeSin(ToRadians(X())));
    CalcInvTrig = false;
    Repaint();
}

void TCalculator::CalcCos()
{
    EntryState = esResult;
    if (CalcInvTrig) {
        CheckUnitRange(X());
        X() = Stored(FromRadians(std::acos(static_cast<long double>(X()))));
    } else
        X() = Stored(SafeCos(ToRadians(X())));
    CalcInvTrig = false;
    Repaint();
}

void TCalculator::CalcTan()
{
    EntryState = esResult;
    if (CalcInvTrig)
        X() = Stored(FromRadians(std::atan(static_cast<long double>(X()))));
    else {
        const long double angle = ToRadians(X());
        X() = Stored(WideQuotient(SafeSin(angle), SafeCos(angle)));
    }
    CalcInvTrig = false;
    Repaint();
}

void TCalculator::CalcRP()
{
    EntryState = esResult;
    const long double x = X();
    const long double y = Y();
    const double r = Stored(std::sqrt(x * x + y * y));
    double angle = 0;
    if (x != 0) {
        const long double a = std::atan(y / x);
        angle = Stored(FromRadians(x > 0 ? a : a + PiWide));
    } else if (y > 0)
        angle = Stored(FromRadians(PiWide / 2));
    else if (y < 0)
        angle = Stored(FromRadians(3 * PiWide / 2));
    Y() = angle;
    X() = r;
    Repaint();
}

void TCalculator::CalcPR()
{
    EntryState = esResult;
    const long double r = X();
    const long double theta = ToRadians(Y());
    const double x = Stored(r * SafeCos(theta));
    const double y = Stored(r * SafeSin(theta));
    X() = x;
    Y() = y;
    Repaint();
}

void TCalculator::CalcPi()
{
    LiftStack();
    X() = PiStored;
    EntryState = esResult;
    Repaint();
}

void TCalculator::CalcFac()
{
    EntryState = esResult;
    // The low 32 bits, read as signed: 3000000000 counts as negative.
    const auto n = static_cast<int32_t>(static_cast<uint32_t>(TruncToInt64(X())));
    double result = 1;
    for (int32_t i = 2; i <= n; ++i) {
        result *= i;
        if (std::isinf(result))
            throw EOverflow();
    }
    X() = result;
    Repaint();
}
