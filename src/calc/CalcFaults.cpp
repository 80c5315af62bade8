#include "calc/CalcFaults.h"

#include <cmath>

double Stored(long double value)
{
    if (std::isnan(value))
        throw EInvalidOp();
    if (std::isinf(value))
        throw EOverflow();
    const double rounded = static_cast<double>(value);
    if (std::isinf(rounded))
        throw EOverflow();
    return rounded;
}

int64_t TruncToInt64(double v)
{
    constexpr double Limit = 9223372036854775808.0; // 2^63
    if (!(std::fabs(v) < Limit))
        throw EInvalidOp();
    return static_cast<int64_t>(v);
}

uint32_t Low32Bits(double v)
{
    if (!std::isfinite(v))
        return 0;
    // fmod is exact, so this is the true remainder even for huge integers.
    double low = std::fmod(std::trunc(v), 4294967296.0);
    if (low < 0)
        low += 4294967296.0;
    return static_cast<uint32_t>(low);
}
