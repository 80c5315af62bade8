#include "controls/Contrast.h"

#include <algorithm>
#include <cmath>

namespace
{

// Below this ratio small text is hard to read.
constexpr double LegibleRatio = 3.0;

double Channel(double value)
{
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * Channel(rgb.redF()) + 0.7152 * Channel(rgb.greenF())
        + 0.0722 * Channel(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor& first, const QColor& second)
{
    const double a = Luminance(first) + 0.05;
    const double b = Luminance(second) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

QColor ReadableInk(const QColor& background, const QColor& preferred)
{
    if (ContrastRatio(background, preferred) >= LegibleRatio)
        return preferred;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return ContrastRatio(background, black) >= ContrastRatio(background, white) ? black : white;
}
