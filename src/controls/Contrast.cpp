#include "controls/Contrast.h"

#include <algorithm>
#include <cmath>

namespace
{

// The light of one 8-bit channel, from its gamma-encoded value.
double ChannelLight(int level)
{
    const double value = level / 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * ChannelLight(rgb.red()) + 0.7152 * ChannelLight(rgb.green())
        + 0.0722 * ChannelLight(rgb.blue());
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

QColor ShadeToRead(const QColor& background, const QColor& ink, double minimumRatio)
{
    if (ContrastRatio(background, ink) >= minimumRatio)
        return ink;
    // The least move towards the far end that reads, found by halving.
    const QColor far = ReadableInk(background, background, 1e9);
    double near = 0;
    double enough = 1;
    for (int step = 0; step < 12; ++step) {
        const double middle = (near + enough) / 2;
        if (ContrastRatio(background, MixColours(ink, far, middle)) >= minimumRatio)
            enough = middle;
        else
            near = middle;
    }
    return MixColours(ink, far, enough);
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
