#include "diary/DiaryGrid.h"

#include "controls/AnsiInput.h"
#include "controls/MenuKeys.h"
#include "controls/OwnerDrawn.h"
#include "diary/DiaryGridModel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <array>

namespace
{

constexpr std::array<int, 4> InitialWidths { 18, 19, 38, 345 };
constexpr int TimeColumn = 2;
constexpr int InitialRowHeight = 18;

// One character, which a pair of surrogates makes as well.
bool IsOneCharacter(const QString& text)
{
    return text.size() == 1 || (text.size() == 2 && text.front().isHighSurrogate());
}

} // namespace

// Draws the event cells and edits descriptions in a frameless line editor that
// writes every change through at once.
class TDiaryCellDelegate final : public QStyledItemDelegate
{
public:
    explicit TDiaryCellDelegate(TDiaryGrid* grid)
        : QStyledItemDelegate(grid)
        , Grid(grid)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
        const QModelIndex& index) const override
    {
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        background.icon = QIcon();
        background.features
            &= ~(QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration);
        background.state &= ~QStyle::State_HasFocus;
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

        const QRect& cell = option.rect;
        DrawCellImage(*painter, cell, index.data(TDiaryGridModel::ImageRole).toInt());
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette::ColorGroup group
            = option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        const QVariant foreground = index.data(Qt::ForegroundRole);
        QColor ink
            = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
        if (foreground.isValid() && !selected)
            ink = foreground.value<QColor>();
        DrawCellText(*painter, cell, 2, option.font, index.data(Qt::DisplayRole).toString(),
            index.data(TDiaryGridModel::BoldRole).toBool(),
            index.data(TDiaryGridModel::UnderlineRole).toBool(), ink);
    }

    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("CalendarGridEditor"));
        editor->setFrame(false);
        GuardAnsiInput(editor);
        QAbstractItemModel* model = Grid->model();
        const QPersistentModelIndex cell(index);
        connect(editor, &QLineEdit::textEdited, editor, [model, cell](const QString& text) {
            if (cell.isValid())
                model->setData(cell, text, Qt::EditRole);
        });
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        // Only a change from elsewhere is shown: setting the text the editor
        // already holds would throw the caret to the end at every key.
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (line->text() != text)
            line->setText(text);
    }

    void setModelData(
        QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
    }

    void updateEditorGeometry(
        QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        editor->setGeometry(option.rect);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            Grid->EditorKeyPress(static_cast<QKeyEvent*>(event));
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    TDiaryGrid* Grid;
};

TDiaryGrid::TDiaryGrid(TDiaryGridModel& model, QWidget* parent)
    : QTableView(parent)
{
    // The header row: the model's picture or text, as high as an event row.
    setHorizontalHeader(new TOwnerDrawnHeader(this, TDiaryGridModel::ImageRole,
        TDiaryGridModel::BoldRole, TDiaryGridModel::UnderlineRole));
    // Hidden before the rows arrive, so no row numbers are measured for it.
    verticalHeader()->hide();
    setModel(&model);
    setItemDelegate(new TDiaryCellDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // A click on the focused cell edits at once (see mousePressEvent): the
    // view's own delayed edit would swallow keys typed right after the click.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(
        std::min(verticalHeader()->minimumSectionSize(), InitialRowHeight));
    verticalHeader()->setDefaultSectionSize(InitialRowHeight);

    QHeaderView* columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setMinimumSectionSize(8);
    for (size_t column = 0; column < InitialWidths.size(); ++column)
        setColumnWidth(static_cast<int>(column), InitialWidths[column]);
    columns->setStretchLastSection(true);
    // The time column is fitted to the font the grid is shown in (see event).
    OpenMenuFromKeys(this);
}

void TDiaryGrid::FitTimeColumn()
{
    // A bold time in a larger font would be cut off in the designed width.
    QFont bold = font();
    bold.setBold(true);
    const int needed = QFontMetrics(bold).horizontalAdvance(QStringLiteral("00:00")) + 5;
    setColumnWidth(TimeColumn, std::max(InitialWidths[TimeColumn], needed));
}

void TDiaryGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange && isVisible())
        FitTimeColumn();
}

void TDiaryGrid::showEvent(QShowEvent* event)
{
    // Fitted as the grid is shown, in the font it is shown in: the owner sets
    // that font after building the grid, and measuring the default one first
    // would load a font the grid never shows.
    FitTimeColumn();
    QTableView::showEvent(event);
}

int TDiaryGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int TDiaryGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void TDiaryGrid::FocusCell(int column, int row)
{
    if (row < 1 || row > TDiaryGridModel::EventRows)
        return;
    setCurrentIndex(model()->index(row - 1, column));
}

QRect TDiaryGrid::CellRect(int column, int row) const
{
    return visualRect(model()->index(row - 1, column));
}

bool TDiaryGrid::Editing() const
{
    return state() == QAbstractItemView::EditingState;
}

void TDiaryGrid::EndEditing()
{
    if (!Editing())
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TDiaryGrid::keyboardSearch(const QString&) { }

void TDiaryGrid::keyPressEvent(QKeyEvent* event)
{
    if (OnKeyDown && OnKeyDown(event))
        return;
    // Alt and Meta make commands, not characters.
    const bool command = event->modifiers() & (Qt::AltModifier | Qt::MetaModifier);
    const QString text = event->key() == Qt::Key_Backspace ? QString(QChar(8)) : event->text();
    if (OnKeyPress && !command && IsOneCharacter(text) && OnKeyPress(text))
        return;
    QTableView::keyPressEvent(event);
}

void TDiaryGrid::EditorKeyPress(QKeyEvent* event)
{
    if (OnKeyPress && IsOneCharacter(event->text()))
        OnKeyPress(event->text());
}

void TDiaryGrid::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid()) {
        Q_EMIT MouseDown(
            event->button(), event->globalPosition().toPoint(), at.column(), at.row() + 1);
        if (event->button() == Qt::RightButton)
            return;
    }
    const QModelIndex focused = currentIndex();
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && at.isValid() && at == focused)
        EditCurrent();
}

void TDiaryGrid::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse's menu opened on the button press already.
    if (event->reason() == QContextMenuEvent::Keyboard && Row() >= 1 && !isHidden())
        Q_EMIT MenuKeyPressed(KeyboardMenuPoint(*this));
}

void TDiaryGrid::EditCurrent()
{
    const QModelIndex current = currentIndex();
    if (Editing() || !current.flags().testFlag(Qt::ItemIsEditable)
        || !edit(current, QAbstractItemView::AllEditTriggers, nullptr))
        return;
    // Opened to be added to, not typed over.
    if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(current)))
        editor->end(false);
}

void TDiaryGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT DblClick();
}

void TDiaryGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    Q_EMIT SelectCell(current.isValid() ? current.column() : 0,
        current.isValid() ? current.row() + 1 : 0, previous.isValid() ? previous.column() : 0,
        previous.isValid() ? previous.row() + 1 : 0);
}
