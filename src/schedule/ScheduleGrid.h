#pragma once

#include <QTableView>

class TScheduleModel;

// The schedule's list, drawn by hand: the today colour behind today's rows,
// the grid's own colour behind the selected row (never the highlight), then
// pictures at a cell's left + 1, top + 1 and texts at left + 2, top + 2 in the
// row's colour; the date column's long date at left + 32.
class TScheduleGrid final : public QTableView
{
    Q_OBJECT

public:
    explicit TScheduleGrid(TScheduleModel& model, QWidget* parent = nullptr);

    // 1-based: row 1 is the first element, under the header.
    int Row() const;
    void SetRow(int row);
    // Rows come into view; the columns stay where the user scrolled them.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

Q_SIGNALS:
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
