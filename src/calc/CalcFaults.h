#pragma once

#include <cstdint>
#include <stdexcept>

// Arithmetic faults of the calculator. They are errors, never infinities or
// NaNs: the faulting operation stores nothing and the text reaches the general
// error box.
class EMathError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class EInvalidOp final : public EMathError
{
public:
    EInvalidOp()
        : EMathError("Invalid floating point operation")
    {
    }
};

class EZeroDivide final : public EMathError
{
public:
    EZeroDivide()
        : EMathError("Floating point division by zero")
    {
    }
};

class EOverflow final : public EMathError
{
public:
    EOverflow()
        : EMathError("Floating point overflow")
    {
    }
};

// A result as the stack stores it: rounded to double. NaN is an invalid
// operation; a value beyond the double range, before or after the rounding, is
// an overflow. Too small a value quietly becomes a subnormal or 0.
double Stored(long double value);

// v truncated toward zero to a signed 64-bit integer, the operand of the
// logical keys, the shifts and the factorial. A magnitude of 2^63 or more is
// an invalid operation.
int64_t TruncToInt64(double v);

// The low 32 bits of v truncated toward zero, for the hexadecimal display.
// Never faults: the hex clamp keeps shown values small, but a display must
// not throw whatever it is handed.
uint32_t Low32Bits(double v);
