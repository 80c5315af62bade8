#include "schedule/ScheduleGrid.h"

#include "controls/OwnerDrawn.h"
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
        DrawCellImage(*painter, cell, index.data(TScheduleModel::ImageRole).toInt());
        const QColor ink = index.data(Qt::ForegroundRole).value<QColor>();
        const bool bold = index.data(TScheduleModel::BoldRole).toBool();
        const bool underline = index.data(TScheduleModel::UnderlineRole).toBool();
        DrawCellText(*painter, cell, 2, option.font, index.data(Qt::DisplayRole).toString(), bold,
            underline, ink);
        DrawCellText(*painter, cell, LongDateOffset, option.font,
            index.data(TScheduleModel::DateRole).toString(), bold, underline, ink);
    }
};

} // namespace

TScheduleGrid::TScheduleGrid(TScheduleModel& model, QWidget* parent)
    : QTableView(parent)
{
    setObjectName(QStringLiteral("ScheduleGrid"));
    auto* header = new TOwnerDrawnHeader(this, TScheduleModel::ImageRole);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    setHorizontalHeader(header);
    // Hidden before the rows arrive, so no row numbers are measured for it.
    verticalHeader()->hide();
    setModel(&model);
    setItemDelegate(new TScheduleDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
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
