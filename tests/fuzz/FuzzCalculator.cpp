// Any keys and pasted text: faults are the calculator's errors, never a crash,
// an infinity or a NaN on the stack.
#include "calc/CalcFaults.h"
#include "calc/Calculator.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TCalculator calc;
    calc.ClearStack();
    for (size_t i = 0; i < size; ++i) {
        try {
            if (data[i] == 0xFF && i + 1 < size) {
                // The rest is a paste.
                calc.PasteX(
                    std::string_view(reinterpret_cast<const char*>(data + i + 1), size - i - 1));
                break;
            }
            calc.CalcKey(data[i]);
        } catch (const EMathError&) {
        }
        for (const double level : calc.CalcStack)
            if (!std::isfinite(level))
                std::abort();
    }
    return 0;
}
