#include "controls/OwnerDrawn.h"

#include "controls/ImageLists.h"

#include <QPainter>
#include <QTableView>

void DrawCellImage(QPainter& painter, const QRect& cell, int image)
{
    if (image < 0 || image >= TImageLists::CalendarImageCount)
        return;
    // The image lists keep each picture drawn once per pixel density.
    const QPixmap pixmap = TImageLists::Calendar(image, painter.device()->devicePixelRatioF());
    painter.drawPixmap(cell.left() + 1, cell.top() + 1, pixmap);
}

void DrawCellText(QPainter& painter, const QRect& cell, int dx, QFont font, const QString& text,
    bool bold, bool underline, const QColor& ink)
{
    if (text.isEmpty())
        return;
    font.setBold(bold);
    font.setUnderline(underline);
    painter.save();
    painter.setClipRect(cell);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(cell.left() + dx, cell.top() + 2 + QFontMetrics(font).ascent(), text);
    painter.restore();
}

TOwnerDrawnHeader::TOwnerDrawnHeader(
    QTableView* grid, int imageRole, int boldRole, int underlineRole)
    : QHeaderView(Qt::Horizontal, grid)
    , Grid(grid)
    , ImageRole(imageRole)
    , BoldRole(boldRole)
    , UnderlineRole(underlineRole)
{
}

QSize TOwnerDrawnHeader::sizeHint() const
{
    // As high as a row, as wide as its sections. The base class would measure
    // every section's text in bold, loading a bold font that nothing here
    // shows, only to find a height this header never takes.
    return QSize(length(), Grid->verticalHeader()->defaultSectionSize());
}

bool TOwnerDrawnHeader::HeaderFlag(int logicalIndex, int role) const
{
    return role >= 0 && model()->headerData(logicalIndex, Qt::Horizontal, role).toBool();
}

void TOwnerDrawnHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid() || !model())
        return;
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    option.text.clear();
    option.icon = QIcon();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

    const QAbstractItemModel* m = model();
    DrawCellImage(*painter, rect, m->headerData(logicalIndex, Qt::Horizontal, ImageRole).toInt());
    DrawCellText(*painter, rect, 2, font(),
        m->headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString(),
        HeaderFlag(logicalIndex, BoldRole), HeaderFlag(logicalIndex, UnderlineRole),
        palette().color(QPalette::ButtonText));
}
