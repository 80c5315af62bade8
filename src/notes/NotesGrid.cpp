#include "notes/NotesGrid.h"

#include "controls/MenuKeys.h"
#include "notes/NotesTableModel.h"
#include "platform/AnsiValidator.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <vector>

namespace
{

constexpr int DefaultRowHeight = 18;

// Cell editors that turn down a CR, which would split the cell's line.
class TNotesCellDelegate final : public QStyledItemDelegate
{
public:
    explicit TNotesCellDelegate(TNotesGrid* grid)
        : QStyledItemDelegate(grid)
        , Grid(grid)
    {
    }

    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("NotesGridEditor"));
        editor->setFrame(false);
        TNotesGrid* grid = Grid;
        editor->setValidator(new TAnsiValidator(
            [grid](const QStringList& found) {
                if (grid->OnRefused)
                    grid->OnRefused(found);
            },
            editor));
        return editor;
    }

private:
    TNotesGrid* Grid;
};

// Puts a header's sections back in their places after a drag: the model has
// moved the cells instead.
void UndoSectionMove(QHeaderView* header, int oldVisual, int newVisual)
{
    const bool blocked = header->blockSignals(true);
    header->moveSection(newVisual, oldVisual);
    header->blockSignals(blocked);
}

} // namespace

TNotesGrid::TNotesGrid(TNotesTableModel& model, QWidget* parent)
    : QTableView(parent)
    , Model(model)
{
    setObjectName(QStringLiteral("NotesGrid"));
    setModel(&model);
    setItemDelegate(new TNotesCellDelegate(this));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    OpenMenuFromKeys(this);

    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), DefaultRowHeight));
    rows->setDefaultSectionSize(DefaultRowHeight);
    rows->setSectionsMovable(true);
    rows->setSectionsClickable(false);
    rows->setHighlightSections(false);
    rows->setFixedWidth(rows->defaultSectionSize());
    connect(rows, &QHeaderView::sectionMoved, this, &TNotesGrid::RowMoved);

    QHeaderView* columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionsMovable(true);
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setMinimumSectionSize(4);
    connect(columns, &QHeaderView::sectionMoved, this, &TNotesGrid::ColumnMoved);
}

int TNotesGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

int TNotesGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() + 1 : 1;
}

void TNotesGrid::FocusCell(int col, int row)
{
    const QModelIndex cell = Model.index(row - 1, col - 1);
    if (!cell.isValid())
        return;
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    scrollTo(cell);
}

TCellRange TNotesGrid::Selection() const
{
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty())
        return { Col(), Row(), Col(), Row() };
    TCellRange range { TNotesTable::LastCol, Model.rowCount(), 1, 1 };
    for (const QItemSelectionRange& part : selection) {
        range.Left = std::min(range.Left, part.left() + 1);
        range.Right = std::max(range.Right, part.right() + 1);
        range.Top = std::min(range.Top, part.top() + 1);
        range.Bottom = std::max(range.Bottom, part.bottom() + 1);
    }
    return range;
}

bool TNotesGrid::Editing() const
{
    return state() == QAbstractItemView::EditingState;
}

void TNotesGrid::StartEditing()
{
    const QModelIndex current = currentIndex();
    if (Editing() || !current.isValid()
        || !edit(current, QAbstractItemView::AllEditTriggers, nullptr))
        return;
    if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(current))) {
        editor->deselect();
        editor->end(false);
    }
}

void TNotesGrid::EndEditing()
{
    if (!Editing())
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TNotesGrid::keyboardSearch(const QString&) { }

void TNotesGrid::keyPressEvent(QKeyEvent* event)
{
    if (!Editing()) {
        switch (event->key()) {
        case Qt::Key_F2:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            StartEditing();
            return;
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            if (OnClear)
                OnClear();
            return;
        default:
            break;
        }
    }
    QTableView::keyPressEvent(event);
}

void TNotesGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        const QModelIndex at = indexAt(event->position().toPoint());
        if (at.isValid() && !selectionModel()->isSelected(at)) {
            EndEditing();
            setCurrentIndex(at);
        }
        return;
    }
    QTableView::mousePressEvent(event);
}

void TNotesGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        StartEditing();
}

void TNotesGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (Editing() || !OnContextMenu)
        return;
    OnContextMenu(event->reason() == QContextMenuEvent::Keyboard ? KeyboardMenuPoint(*this)
                                                                 : event->globalPos());
}

void TNotesGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid() && current.row() == Model.rowCount() - 1)
        Model.AddRow();
}

void TNotesGrid::RowMoved(int, int oldVisual, int newVisual)
{
    UndoSectionMove(verticalHeader(), oldVisual, newVisual);
    Model.MoveRow(oldVisual + 1, newVisual + 1);
    // The current row may have moved to the end.
    if (currentIndex().row() == Model.rowCount() - 1)
        Model.AddRow();
}

void TNotesGrid::ColumnMoved(int, int oldVisual, int newVisual)
{
    QHeaderView* columns = horizontalHeader();
    UndoSectionMove(columns, oldVisual, newVisual);
    // The width travels with its column.
    std::vector<int> widths;
    for (int i = 0; i < TNotesTable::LastCol; ++i)
        widths.push_back(columns->sectionSize(i));
    const int moved = widths[static_cast<size_t>(oldVisual)];
    widths.erase(widths.begin() + oldVisual);
    widths.insert(widths.begin() + newVisual, moved);
    Model.MoveColumn(oldVisual + 1, newVisual + 1);
    for (int i = 0; i < TNotesTable::LastCol; ++i)
        columns->resizeSection(i, widths[static_cast<size_t>(i)]);
}
