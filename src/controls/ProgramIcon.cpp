#include "controls/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

using namespace Qt::StringLiterals;

namespace
{

struct TShape {
    QRectF Rect;
    QColor Fill;
    QColor Stroke = Qt::transparent;
};

// The calendar page of the tray (its border, red band and two rings), and a
// grid of days where it shows the date, today's in red.
QList<TShape> Shapes()
{
    const QColor ink(60, 60, 60);
    const QColor red(200, 24, 24);
    const QColor day(170, 170, 170);
    QList<TShape> shapes {
        { QRectF(0.5, 1.5, 15, 14), Qt::white, ink },
        { QRectF(1, 2, 14, 2.5), red },
        { QRectF(3.5, 0.5, 1.5, 2.5), ink },
        { QRectF(11, 0.5, 1.5, 2.5), ink },
    };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            shapes.append({ QRectF(2.5 + column * 3, 6 + row * 3, 2, 2),
                row == 1 && column == 2 ? red : day });
    return shapes;
}

QString SvgColour(const QColor& colour)
{
    return colour.alpha() == 0 ? u"none"_s : colour.name();
}

} // namespace

QImage TProgramIcon::Image(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 16.0, side / 16.0);
    for (const TShape& shape : Shapes()) {
        painter.setBrush(shape.Fill);
        painter.setPen(shape.Stroke.alpha() ? QPen(shape.Stroke, 1) : QPen(Qt::NoPen));
        painter.drawRect(shape.Rect);
    }
    return image;
}

QByteArray TProgramIcon::Svg()
{
    QString text = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                   "viewBox=\"0 0 16 16\">\n"_s;
    for (const TShape& shape : Shapes()) {
        text += u"  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\""_s
                    .arg(shape.Rect.x())
                    .arg(shape.Rect.y())
                    .arg(shape.Rect.width())
                    .arg(shape.Rect.height())
                    .arg(SvgColour(shape.Fill));
        if (shape.Stroke.alpha())
            text += u" stroke=\"%1\" stroke-width=\"1\""_s.arg(SvgColour(shape.Stroke));
        text += u"/>\n"_s;
    }
    text += u"</svg>\n"_s;
    return text.toUtf8();
}

QIcon TProgramIcon::Icon()
{
    QIcon icon;
    for (int side : ThemeSizes)
        icon.addPixmap(QPixmap::fromImage(Image(side)));
    return icon;
}
