#include "schedule/ScheduleGrid.h"

#include "controls/ImageLists.h"
#include "schedule/ScheduleModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <array>

namespace
{

constexpr std::array<int, 4> InitialWidths { 18, 112, 38, 398 };
constexpr int InitialRowHeight = 18;
constexpr int LongDateOffset = 32;

void DrawImage(QPainter& painter, const QRect& cell, int image)
{
    if (image < 0 || image >= TImageLists::CalendarImageCount)
        return;
    const QPixmap pixmap = TImageLists::Calendar(image, painter.device()->devicePixelRatioF());
    painter.drawPixmap(cell.left() + 1, cell.top() + 1, pixmap);
}

void DrawText(QPainter& painter, const QRect& cell, int dx, QFont font, const QString& text,
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

class TScheduleHeader final : public QHeaderView
{
public:
    explicit TScheduleHeader(QTableView* grid)
        : QHeaderView(Qt::Horizontal, grid)
        , Grid(grid)
    {
        setSectionsClickable(false);
        setHighlightSections(false);
    }

    QSize sizeHint() const override
    {
        return QSize(QHeaderView::sizeHint().width(), Grid->verticalHeader()->defaultSectionSize());
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
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
        DrawImage(*painter, rect,
            m->headerData(logicalIndex, Qt::Horizontal, TScheduleModel::ImageRole).toInt());
        DrawText(*painter, rect, 2, font(),
            m->headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString(), false, false,
            palette().color(QPalette::ButtonText));
    }

private:
    QTableView* Grid;
};

class TScheduleDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override
    {
        const QRect& cell = option.rect;
        const QVariant background = index.data(Qt::BackgroundRole);
        painter->fillRect(cell,
            background.isValid() ? background.value<QColor>()
                                 : option.palette.color(QPalette::Active, QPalette::Base));
        DrawImage(*painter, cell, index.data(TScheduleModel::ImageRole).toInt());
        const QColor ink = index.data(Qt::ForegroundRole).value<QColor>();
        const bool bold = index.data(TScheduleModel::BoldRole).toBool();
        const bool underline = index.data(TScheduleModel::UnderlineRole).toBool();
        DrawText(*painter, cell, 2, option.font, index.data(Qt::DisplayRole).toString(), bold,
            underline, ink);
        DrawText(*painter, cell, LongDateOffset, option.font,
            index.data(TScheduleModel::DateRole).toString(), bold, underline, ink);
    }
};

} // namespace

TScheduleGrid::TScheduleGrid(TScheduleModel& model, QWidget* parent)
    : QTableView(parent)
{
    setObjectName(QStringLiteral("ScheduleGrid"));
    setHorizontalHeader(new TScheduleHeader(this));
    setModel(&model);
    setItemDelegate(new TScheduleDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(InitialRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setMinimumSectionSize(1);
    for (size_t i = 0; i < InitialWidths.size(); ++i)
        setColumnWidth(static_cast<int>(i), InitialWidths[i]);
}

int TScheduleGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void TScheduleGrid::SetRow(int row)
{
    const QModelIndex cell = model()->index(row - 1, 0);
    if (!cell.isValid())
        return;
    setCurrentIndex(cell);
    scrollTo(cell);
}

void TScheduleGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const int column = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(column);
}

void TScheduleGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        Q_EMIT DblClick();
}
