#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

// The program's own icon: the tray's calendar page, with the month's days in
// place of the date. One set of shapes on a 16 x 16 grid gives the picture at
// any size and the scalable file the desktop's menus use.
class TProgramIcon
{
public:
    // The picture `side` pixels square, on a transparent background.
    static QImage Image(int side);
    // The same shapes as an SVG document.
    static QByteArray Svg();
    // For windows and buttons, at any size; each drawn when first asked for.
    static QIcon Icon();
    // The sizes the desktop's icon theme gets as pictures.
    static constexpr int ThemeSizes[] = { 16, 22, 24, 32, 48, 64, 128, 256 };
};
