#pragma once

#include <QFont>
#include <QHeaderView>

class QColor;
class QPainter;
class QTableView;

// How the grids draw a cell themselves: calendar image `image` (none when out
// of range) at left + 1, top + 1, and text with its top at left + dx, top + 2,
// in `font` with bold or underline added for this text only.
void DrawCellImage(QPainter& painter, const QRect& cell, int image);
void DrawCellText(QPainter& painter, const QRect& cell, int dx, QFont font, const QString& text,
    bool bold, bool underline, const QColor& ink);

// A grid's header row drawn the same way: the style's header background, then
// the model's image and text for the section (the header data of `imageRole`,
// and of `boldRole` and `underlineRole` where they are not -1), as high as a
// row of the grid.
class TOwnerDrawnHeader final : public QHeaderView
{
public:
    TOwnerDrawnHeader(QTableView* grid, int imageRole, int boldRole = -1, int underlineRole = -1);

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    bool HeaderFlag(int logicalIndex, int role) const;

    QTableView* Grid;
    int ImageRole;
    int BoldRole;
    int UnderlineRole;
};
