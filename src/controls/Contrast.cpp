#include "controls/Contrast.h"

#include <algorithm>
#include <array>

namespace
{

// The fifth root of x in [0, 1], by Newton's method from above.
constexpr double FifthRoot(double x)
{
    double root = 1.0;
    for (int step = 0; step < 200; ++step) {
        const double square = root * root;
        const double next = (4.0 * root + x / (square * square)) / 5.0;
        if (next >= root)
            break;
        root = next;
    }
    return root;
}

// The light of one 8-bit channel, from its gamma-encoded value. Worked out
// while compiling: the program then needs no power function of the maths
// library, whose tables would be paged in only for this.
constexpr std::array<double, 256> ChannelLight = [] {
    std::array<double, 256> light {};
    for (int level = 0; level < 256; ++level) {
        const double value = level / 255.0;
        const double base = (value + 0.055) / 1.055;
        // base to the power 2.4 = base squared times the fifth root of base squared
        light[level] = value <= 0.03928 ? value / 12.92 : base * base * FifthRoot(base * base);
    }
    return light;
}();

double Luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * ChannelLight[rgb.red()] + 0.7152 * ChannelLight[rgb.green()]
        + 0.0722 * ChannelLight[rgb.blue()];
}

} // namespace

double ContrastRatio(const QColor& first, const QColor& second)
{
    const double a = Luminance(first) + 0.05;
    const double b = Luminance(second) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

QColor ReadableInk(const QColor& background, const QColor& preferred, double minimumRatio)
{
    if (ContrastRatio(background, preferred) >= minimumRatio)
        return preferred;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return ContrastRatio(background, black) >= ContrastRatio(background, white) ? black : white;
}

QColor MixColours(const QColor& from, const QColor& to, double amount)
{
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    const auto mix = [amount](int x, int y) {
        return static_cast<int>(x + (y - x) * std::clamp(amount, 0.0, 1.0) + 0.5);
    };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}
