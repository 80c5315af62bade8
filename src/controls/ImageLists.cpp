#include "controls/ImageLists.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <functional>
#include <optional>

namespace
{

using Painter = std::function<void(QPainter&)>;

// Draws on a transparent 16 x 16 logical canvas.
QPixmap Draw(qreal ratio, const Painter& paint)
{
    const int side = qRound(TImageLists::ImageSize * ratio);
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    pixmap.setDevicePixelRatio(ratio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return pixmap;
}

const QColor AlarmRed(200, 24, 24);
const QColor TickGreen(24, 150, 40);

void DrawClock(QPainter& p, bool ringing)
{
    p.setPen(QPen(Qt::black, 1));
    // Bells.
    p.setBrush(AlarmRed);
    p.drawEllipse(QRectF(1.5, 1.5, 4.5, 4.5));
    p.drawEllipse(QRectF(10, 1.5, 4.5, 4.5));
    // Face.
    p.setBrush(ringing ? QColor(255, 230, 120) : QColor(Qt::white));
    p.setPen(QPen(AlarmRed, 2));
    p.drawEllipse(QRectF(3, 3.5, 10, 10));
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8.5), QPointF(8, 5.5));
    p.drawLine(QPointF(8, 8.5), QPointF(10.5, 9.5));
    // Feet.
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 13), QPointF(3, 15));
    p.drawLine(QPointF(11.5, 13), QPointF(13, 15));
    if (ringing) {
        p.setPen(QPen(QColor(230, 120, 0), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0.5, 8), QPointF(2, 8));
        p.drawLine(QPointF(14, 8), QPointF(15.5, 8));
        p.drawLine(QPointF(0.8, 11.5), QPointF(2.2, 10.5));
        p.drawLine(QPointF(15.2, 11.5), QPointF(13.8, 10.5));
    }
}

void DrawPadlock(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
    p.drawLine(QPointF(4.5, 6), QPointF(4.5, 7.5));
    p.drawLine(QPointF(11.5, 6), QPointF(11.5, 7.5));
    p.setPen(QPen(QColor(120, 80, 0), 1));
    p.setBrush(QColor(230, 180, 40));
    p.drawRoundedRect(QRectF(2.5, 7, 11, 8), 1.5, 1.5);
    p.setBrush(QColor(80, 50, 0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(7, 9.5, 2, 2));
    p.drawRect(QRectF(7.5, 10.5, 1, 2.5));
}

void DrawTick(QPainter& p)
{
    p.setPen(QPen(TickGreen, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    path.moveTo(2.5, 8.5);
    path.lineTo(6.5, 12.5);
    path.lineTo(13.5, 3.5);
    p.drawPath(path);
}

void DrawCross(QPainter& p)
{
    p.setPen(QPen(AlarmRed, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void DrawPage(QPainter& p)
{
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 1.5, 15, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(AlarmRed);
    p.drawRect(QRectF(1, 2, 14, 2.5));
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(3.5, 0.5, 1.5, 2.5));
    p.drawRect(QRectF(11, 0.5, 1.5, 2.5));
}

// Digits drawn as 5 x 8 strokes, so two fit side by side on the page.
void DrawDigitStrokes(QPainter& p, int digit, QPointF origin)
{
    // Segments a..g of a seven-segment digit in a 5 x 8 box.
    static constexpr unsigned char Segments[10]
        = { 0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F };
    const qreal w = 4, h = 7, x = origin.x() + 0.5, y = origin.y() + 0.5;
    const QLineF lines[7] = { { x, y, x + w, y }, { x + w, y, x + w, y + h / 2 },
        { x + w, y + h / 2, x + w, y + h }, { x, y + h, x + w, y + h }, { x, y + h / 2, x, y + h },
        { x, y, x, y + h / 2 }, { x, y + h / 2, x + w, y + h / 2 } };
    p.setPen(QPen(Qt::black, 1.3, Qt::SolidLine, Qt::SquareCap));
    for (int s = 0; s < 7; ++s)
        if (Segments[digit % 10] & (1 << s))
            p.drawLine(lines[s]);
}

void DrawMagnifier(QPainter& p)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRectF(2, 2, 8.5, 8.5));
    p.setPen(QPen(QColor(120, 70, 20), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
}

void DrawHelp(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 90, 200));
    p.drawEllipse(QRectF(1, 1, 14, 14));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawCopy(QPainter& p)
{
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 1.5, 8, 10));
    p.drawRect(QRectF(6.5, 4.5, 8, 10));
    p.setPen(QPen(QColor(140, 140, 140), 1));
    for (qreal y = 7.5; y < 14; y += 2)
        p.drawLine(QPointF(8.5, y), QPointF(12.5, y));
}

// The picture from the pixmap cache, drawn only the first time: views ask for
// their icons on every paint and size hint.
QPixmap Cached(char kind, int index, qreal ratio, const std::function<QPixmap()>& draw)
{
    const QString key
        = QStringLiteral("talvo-%1-%2-%3").arg(QLatin1Char(kind)).arg(index).arg(ratio);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = draw();
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QIcon BothScales(const std::function<QPixmap(qreal)>& make)
{
    QIcon icon;
    icon.addPixmap(make(1.0));
    icon.addPixmap(make(2.0));
    return icon;
}

// The icon of a picture at both scales, with the one at twice the scale drawn
// only when something asks for more than the picture at its own size: on most
// desktops nothing ever does. Every answer is the one the icon with both
// pictures would give.
class TTwoScaleIconEngine final : public QIconEngine
{
public:
    explicit TTwoScaleIconEngine(std::function<QPixmap(qreal)> make)
        : Make(std::move(make))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        IconFor(rect.size(), ratio).paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return IconFor(size, 1.0).actualSize(size, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return IconFor(size, 1.0).pixmap(size, 1.0, mode, state);
    }

    // `size` is in device pixels.
    QPixmap scaledPixmap(
        const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        if (scale <= 1.0)
            return pixmap(size, mode, state);
        return Both().pixmap(size / scale, scale, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        const int side = TImageLists::ImageSize;
        if (mode != QIcon::Normal || state != QIcon::Off)
            return {};
        return { QSize(side, side), QSize(side, side) * 2 };
    }

    QString key() const override { return QStringLiteral("TTwoScaleIconEngine"); }
    QIconEngine* clone() const override { return new TTwoScaleIconEngine(Make); }

private:
    const QIcon& IconFor(const QSize& size, qreal ratio)
    {
        const int side = TImageLists::ImageSize;
        if (ratio > 1.0 || size.width() > side || size.height() > side)
            return Both();
        if (!Small)
            Small = QIcon(Make(1.0));
        return *Small;
    }

    const QIcon& Both()
    {
        if (!BothIcon)
            BothIcon = BothScales(Make);
        return *BothIcon;
    }

    std::function<QPixmap(qreal)> Make;
    std::optional<QIcon> Small;
    std::optional<QIcon> BothIcon;
};

QIcon TwoScaleIcon(const std::function<QPixmap(qreal)>& make)
{
    return QIcon(new TTwoScaleIconEngine(make));
}

} // namespace

QPixmap TImageLists::Calendar(int index, qreal ratio)
{
    return Cached('c', index, ratio, [=] { return DrawCalendar(index, ratio); });
}

QPixmap TImageLists::DrawCalendar(int index, qreal ratio)
{
    switch (index) {
    case ciLocked:
        return Draw(ratio, DrawPadlock);
    case ciAlarm:
        return Draw(ratio, [](QPainter& p) { DrawClock(p, false); });
    case ciTicked:
        return Draw(ratio, DrawTick);
    case ciCrossed:
        return Draw(ratio, DrawCross);
    case ciRinging:
        return Draw(ratio, [](QPainter& p) { DrawClock(p, true); });
    case ciEmptyPage:
    case ciDatedPage:
        return Draw(ratio, DrawPage);
    default:
        return Draw(ratio, [](QPainter&) {});
    }
}

QPixmap TImageLists::Digit(int digit, qreal ratio)
{
    return Draw(ratio, [digit](QPainter& p) { DrawDigitStrokes(p, digit, { 0, 0 }); });
}

QPixmap TImageLists::DatedPage(int day, qreal ratio)
{
    return Cached('d', day, ratio, [=] {
        return Draw(ratio, [day](QPainter& p) {
            DrawPage(p);
            DrawDigitStrokes(p, day / 10, { 2, 5 });
            DrawDigitStrokes(p, day % 10, { 8, 5 });
        });
    });
}

QPixmap TImageLists::Button(int index, qreal ratio)
{
    return Cached('b', index, ratio, [=] { return DrawButton(index, ratio); });
}

QPixmap TImageLists::DrawButton(int index, qreal ratio)
{
    switch (index) {
    case biFind:
        return Draw(ratio, DrawMagnifier);
    case biHelp:
        return Draw(ratio, DrawHelp);
    case biCopy:
        return Draw(ratio, DrawCopy);
    default:
        return Draw(ratio, [](QPainter&) {});
    }
}

QIcon TImageLists::CalendarIcon(int index)
{
    return TwoScaleIcon([index](qreal r) { return Calendar(index, r); });
}

QIcon TImageLists::ButtonIcon(int index)
{
    return TwoScaleIcon([index](qreal r) { return Button(index, r); });
}

QIcon TImageLists::DatedPageIcon(int day)
{
    return TwoScaleIcon([day](qreal r) { return DatedPage(day, r); });
}
