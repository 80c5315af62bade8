#include "settings/SettingsConvert.h"

#include "platform/AnsiText.h"

#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <cmath>

namespace
{

struct TPaletteColour {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

constexpr TPaletteColour Active(QPalette::ColorRole role)
{
    return { QPalette::Active, role };
}

constexpr std::array<TPaletteColour, 31> DesktopColours {
    Active(QPalette::Button), // 0 scroll bar
    Active(QPalette::Dark), // 1 desktop
    Active(QPalette::Highlight), // 2 active caption
    Active(QPalette::Mid), // 3 inactive caption
    Active(QPalette::Window), // 4 menu
    Active(QPalette::Base), // 5 window background
    Active(QPalette::Shadow), // 6 window frame
    Active(QPalette::WindowText), // 7 menu text
    Active(QPalette::Text), // 8 window text
    Active(QPalette::HighlightedText), // 9 caption text
    Active(QPalette::Window), // 10 active border
    Active(QPalette::Window), // 11 inactive border
    Active(QPalette::Mid), // 12 application workspace
    Active(QPalette::Highlight), // 13 highlight
    Active(QPalette::HighlightedText), // 14 highlight text
    Active(QPalette::Button), // 15 button face
    Active(QPalette::Dark), // 16 button shadow
    { QPalette::Disabled, QPalette::Text }, // 17 grey text
    Active(QPalette::ButtonText), // 18 button text
    Active(QPalette::WindowText), // 19 inactive caption text
    Active(QPalette::Light), // 20 button highlight
    Active(QPalette::Shadow), // 21 dark 3-D shadow
    Active(QPalette::Midlight), // 22 light 3-D edge
    Active(QPalette::ToolTipText), // 23 tool-tip text
    Active(QPalette::ToolTipBase), // 24 tool-tip background
    Active(QPalette::Window), // 25 not used
    Active(QPalette::Link), // 26 hot-tracked item
    Active(QPalette::Highlight), // 27 active caption gradient
    Active(QPalette::Mid), // 28 inactive caption gradient
    Active(QPalette::Highlight), // 29 menu highlight
    Active(QPalette::Window), // 30 menu bar
};

} // namespace

QColor ColourToQColor(TColour colour, const QPalette& palette)
{
    if (!IsSystemColour(colour))
        return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
    const uint32_t index = SystemColourIndex(colour);
    const TPaletteColour source
        = index < DesktopColours.size() ? DesktopColours[index] : Active(QPalette::Window);
    return palette.color(source.Group, source.Role);
}

QColor ColourToQColor(TColour colour)
{
    return ColourToQColor(colour, QGuiApplication::palette());
}

TColour QColorToColour(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return RgbColour(uint8_t(rgb.red()), uint8_t(rgb.green()), uint8_t(rgb.blue()));
}

QFont SettingsFontToQFont(const TSettingsFont& font)
{
    QFont result = QGuiApplication::font();
    result.setFamilies({ FromCore(font.Name) });
    if (font.Size > 0)
        result.setPointSize(std::min(font.Size, MaxFontPoints));
    result.setBold((font.Style & fsBold) != 0);
    result.setItalic((font.Style & fsItalic) != 0);
    result.setUnderline((font.Style & fsUnderline) != 0);
    result.setStrikeOut((font.Style & fsStrikeOut) != 0);
    return result;
}

TSettingsFont QFontToSettingsFont(const QFont& font)
{
    TSettingsFont result;
    result.Name = ToCore(font.family());
    CutFontName(result.Name);
    result.Size = font.pointSize() > 0 ? font.pointSize()
                                       : int32_t(std::lround(font.pixelSize() * 72.0 / 96.0));
    result.Style = (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0)
        | (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0);
    return result;
}

int FontPixelHeight(const QFont& font, int dpi)
{
    const double pixels
        = font.pixelSize() > 0 ? font.pixelSize() : std::round(font.pointSizeF() * dpi / 72.0);
    return static_cast<int>(std::clamp(pixels, 0.0, double(MaxRowPixels)));
}

int GridRowHeight(const QFont& font, int dpi)
{
    return std::min(7 + FontPixelHeight(font, dpi), MaxRowPixels);
}
