#include "controls/ProgramIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

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

// Draws the 16 x 16 grid's shapes into `target`.
void DrawShapes(QPainter& painter, const QRectF& target)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / 16.0, target.height() / 16.0);
    for (const TShape& shape : Shapes()) {
        // A bordered shape is two fills, the border's and the inside's: square
        // corners as in the drawing, and no path to stroke.
        if (shape.Stroke.alpha()) {
            painter.fillRect(shape.Rect.adjusted(-0.5, -0.5, 0.5, 0.5), shape.Stroke);
            painter.fillRect(shape.Rect.adjusted(0.5, 0.5, -0.5, -0.5), shape.Fill);
        } else {
            painter.fillRect(shape.Rect, shape.Fill);
        }
    }
    painter.restore();
}

// Draws the icon only at the sizes somebody asks for: a set of every size
// drawn in advance cost the start more than the window's pages, and the
// window system asks for four sizes at most.
class TProgramIconEngine final : public QIconEngine
{
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(rect.width(), rect.height());
        DrawShapes(*painter,
            QRectF(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2,
                side, side));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return { side, side };
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        if (side <= 0)
            return {};
        for (const TDrawn& drawn : Drawn)
            if (drawn.Side == side && drawn.Mode == mode)
                return drawn.Pixmap;
        QPixmap pixmap = QPixmap::fromImage(TProgramIcon::Image(side));
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        // The small sizes that buttons and menus paint again and again are
        // kept; the window system asks for the big ones once, when a window
        // is made, so they are not held.
        if (side > KeptSide)
            return pixmap;
        if (Drawn.size() >= 16)
            Drawn.removeFirst();
        Drawn.append({ side, mode, pixmap });
        return pixmap;
    }

    QString key() const override { return u"TProgramIconEngine"_s; }
    QIconEngine* clone() const override { return new TProgramIconEngine; }

private:
    static constexpr int KeptSide = 32;
    struct TDrawn {
        int Side;
        QIcon::Mode Mode;
        QPixmap Pixmap;
    };
    QList<TDrawn> Drawn;
};

} // namespace

QImage TProgramIcon::Image(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawShapes(painter, QRectF(0, 0, side, side));
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
    return QIcon(new TProgramIconEngine);
}
