#pragma once

#include <cstdint>

// A colour as the settings keep it: either a direct colour 0x00BBGGRR (low byte
// red, then green, then blue) or, with the top bit set, a reference to one of
// the desktop's own colours by its index. Stored as the signed decimal text of
// the 32-bit value, so a desktop colour reads as a negative number.
using TColour = uint32_t;

inline constexpr TColour SystemColourFlag = 0x80000000u;
// The desktop colour indexes the default colours refer to.
inline constexpr uint32_t ScrollBarColourIndex = 0;
inline constexpr uint32_t WindowColourIndex = 5;

constexpr TColour RgbColour(uint8_t red, uint8_t green, uint8_t blue)
{
    return TColour(red) | TColour(green) << 8 | TColour(blue) << 16;
}
constexpr TColour SystemColour(uint32_t index)
{
    return SystemColourFlag | index;
}
constexpr bool IsSystemColour(TColour colour)
{
    return (colour & SystemColourFlag) != 0;
}
constexpr uint32_t SystemColourIndex(TColour colour)
{
    return colour & ~SystemColourFlag;
}
constexpr uint8_t RedOf(TColour colour)
{
    return uint8_t(colour);
}
constexpr uint8_t GreenOf(TColour colour)
{
    return uint8_t(colour >> 8);
}
constexpr uint8_t BlueOf(TColour colour)
{
    return uint8_t(colour >> 16);
}
