#include "notes/NotesImages.h"

#include "controls/Contrast.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <functional>

namespace
{

constexpr int Size = 16;

QIcon DrawIcon(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (const qreal ratio : { 1.0, 2.0 }) {
        QPixmap pixmap(static_cast<int>(Size * ratio), static_cast<int>(Size * ratio));
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, ratio > 1.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A sheet of paper with a folded corner.
void Sheet(QPainter& p)
{
    QPainterPath path;
    path.moveTo(2.5, 1.5);
    path.lineTo(10.5, 1.5);
    path.lineTo(13.5, 4.5);
    path.lineTo(13.5, 14.5);
    path.lineTo(2.5, 14.5);
    path.closeSubpath();
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
}

void Lines(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour, 1));
    for (const qreal y : { 5.5, 7.5, 9.5, 11.5 })
        p.drawLine(QPointF(4.5, y), QPointF(y < 6 ? 9.5 : 11.5, y));
}

void Grid(QPainter& p)
{
    p.setPen(QPen(QColor(40, 90, 160), 1));
    p.setBrush(QColor(214, 228, 248));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.fillRect(QRectF(2, 3, 12, 3), QColor(120, 160, 215));
    for (const qreal y : { 6.5, 9.5 })
        p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    for (const qreal x : { 5.5, 10.5 })
        p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
}

void Letters(QPainter& p, const QString& text, const QColor& colour, int pixelSize)
{
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(0, 0, Size, Size), Qt::AlignCenter, text);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 1.5));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const QPointF back = d / std::max(1.0, std::hypot(d.x(), d.y())) * 3.0;
    const QPointF side(-back.y(), back.x());
    p.drawLine(to, to - back + side);
    p.drawLine(to, to - back - side);
}

void Folder(QPainter& p)
{
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(250, 210, 100));
    QPainterPath path;
    path.moveTo(1.5, 4.5);
    path.lineTo(5.5, 4.5);
    path.lineTo(7, 6);
    path.lineTo(14.5, 6);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.drawPath(path);
}

} // namespace

QIcon TreeImage(TTreeImage image)
{
    if (image == TreeImageTable)
        return DrawIcon(Grid);
    return DrawIcon([](QPainter& p) {
        Sheet(p);
        Lines(p, QColor(60, 60, 60));
    });
}

QIcon NotesGlyph(TNotesGlyph glyph)
{
    return NotesGlyph(glyph, QGuiApplication::palette().color(QPalette::Window));
}

QIcon NotesGlyph(TNotesGlyph glyph, const QColor& ground)
{
    // Inks drawn straight on the tool bar; those on the pictures' own white
    // or coloured fills keep their colours.
    const QColor red = ShadeToRead(ground, QColor(190, 30, 30));
    const QColor green = ShadeToRead(ground, QColor(20, 130, 40));
    const QColor blue = ShadeToRead(ground, QColor(30, 70, 170));
    const QColor grey = ShadeToRead(ground, QColor(60, 60, 60));
    switch (glyph) {
    case ngAddCategory:
        return DrawIcon([&](QPainter& p) {
            Folder(p);
            p.setPen(QPen(green, 2));
            p.drawLine(QPointF(11, 1), QPointF(11, 8));
            p.drawLine(QPointF(7.5, 4.5), QPointF(14.5, 4.5));
        });
    case ngDeleteCategory:
        return DrawIcon([&](QPainter& p) {
            Folder(p);
            p.setPen(QPen(red, 2));
            p.drawLine(QPointF(8, 1), QPointF(14, 7));
            p.drawLine(QPointF(14, 1), QPointF(8, 7));
        });
    case ngDial:
        return DrawIcon([&](QPainter& p) {
            p.setPen(QPen(ShadeToRead(ground, Qt::black), 1));
            p.setBrush(grey);
            p.drawRoundedRect(QRectF(1.5, 4.5, 13, 4), 2, 2);
            p.drawRect(QRectF(4.5, 8.5, 7, 5));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(8, 11), 1.5, 1.5);
        });
    case ngSend:
        return DrawIcon([&](QPainter& p) {
            p.setPen(QPen(blue, 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5, 3.5, 13, 9));
            p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9));
            p.drawLine(QPointF(14.5, 3.5), QPointF(8, 9));
        });
    case ngCut:
        return DrawIcon([&](QPainter& p) {
            p.setPen(QPen(grey, 1.2));
            p.drawLine(QPointF(5, 1), QPointF(10, 10));
            p.drawLine(QPointF(11, 1), QPointF(6, 10));
            p.setPen(QPen(red, 1.2));
            p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
            p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
        });
    case ngPaste:
        return DrawIcon([&](QPainter& p) {
            p.setPen(QPen(QColor(110, 70, 30), 1));
            p.setBrush(QColor(200, 150, 90));
            p.drawRect(QRectF(1.5, 2.5, 10, 12));
            p.setBrush(QColor(160, 160, 160));
            p.drawRect(QRectF(4.5, 1.5, 4, 2));
            p.setPen(QPen(QColor(96, 96, 96), 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6.5, 6.5, 8, 8));
        });
    case ngChangeCase:
        return DrawIcon([&](QPainter& p) { Letters(p, QStringLiteral("Aa"), blue, 10); });
    case ngWordWrap:
        return DrawIcon([&](QPainter& p) {
            Lines(p, grey);
            p.setPen(QPen(blue, 1.5));
            p.drawArc(QRectF(8, 3, 6, 7), -90 * 16, 180 * 16);
            Arrow(p, QPointF(11, 10), QPointF(7, 10), blue);
        });
    case ngInsertRow:
        return DrawIcon([&](QPainter& p) {
            Grid(p);
            p.fillRect(QRectF(2, 7, 12, 2), green);
        });
    case ngDeleteRow:
        return DrawIcon([&](QPainter& p) {
            Grid(p);
            p.setPen(QPen(red, 2));
            p.drawLine(QPointF(3, 8), QPointF(13, 8));
        });
    case ngSort:
        return DrawIcon([&](QPainter& p) {
            QFont font(QStringLiteral("Sans"));
            font.setPixelSize(7);
            font.setBold(true);
            p.setFont(font);
            p.setPen(blue);
            p.drawText(QRectF(0, 0, 9, 8), Qt::AlignCenter, QStringLiteral("A"));
            p.drawText(QRectF(0, 8, 9, 8), Qt::AlignCenter, QStringLiteral("Z"));
            Arrow(p, QPointF(12, 2), QPointF(12, 14), green);
        });
    }
    return {};
}
