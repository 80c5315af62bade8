#include "calc/CalculatorGrid.h"

#include "calc/CalcStackModel.h"
#include "calc/Calculator.h"
#include "controls/MenuKeys.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;

namespace
{

constexpr int RowHeight = 28;
constexpr int LabelWidth = 34;
constexpr int ValueWidth = 168;

// Paints the label column in the button face colour, as a fixed column.
class TStackDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == 0)
            option->backgroundBrush = option->palette.button();
    }
};

} // namespace

TCalculatorGrid::TCalculatorGrid(TCalcStackModel& model, QWidget* parent)
    : QTableView(parent)
    , Model(model)
{
    setObjectName(u"CalculatorGrid"_s);
    setToolTip(u"Calculator Stack"_s);
    // Both headers hidden before the rows arrive, so neither is measured.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setModel(&model);
    setItemDelegate(new TStackDelegate(this));
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setFocusPolicy(Qt::StrongFocus);
    // The grid keeps its own font whatever font the settings give the window:
    // only the sizes and boldness of its cells vary.
    QFont own = QApplication::font();
    own.setFamily(own.family());
    own.setPointSizeF(own.pointSizeF());
    own.setBold(false);
    own.setItalic(false);
    own.setUnderline(false);
    own.setStrikeOut(false);
    setFont(own);
    FitToContents();
    SetSelectedRow(TCalculator::XRow);
    OpenMenuFromKeys(this);
}

void TCalculatorGrid::FitToContents()
{
    Model.SetBaseFont(font());
    const QFontMetrics labels(Model.LabelFont());
    const QFontMetrics values(Model.ValueFont(true));
    int labelWidth = LabelWidth;
    for (int row = 0; row < TCalculator::Levels; ++row)
        labelWidth = std::max(
            labelWidth, labels.horizontalAdvance(Model.index(row, 0).data().toString()) + 12);
    const int valueWidth
        = std::max(ValueWidth, values.horizontalAdvance(u"-8.88888888888888E-308"_s) + 14);
    setColumnWidth(0, labelWidth);
    setColumnWidth(1, valueWidth);
    const int frame = 2 * frameWidth();
    setFixedSize(labelWidth + valueWidth + frame, TCalculator::Levels * RowHeight + frame);
}

int TCalculatorGrid::SelectedRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : TCalculator::XRow;
}

void TCalculatorGrid::SetSelectedRow(int row)
{
    if (row >= 0 && row < TCalculator::Levels)
        setCurrentIndex(Model.index(row, 1));
}

QColor TCalculatorGrid::Colour() const
{
    return palette().color(QPalette::Base);
}

void TCalculatorGrid::SetColour(const QColor& colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colour);
    setPalette(colours);
}

void TCalculatorGrid::keyboardSearch(const QString&) { }

void TCalculatorGrid::mousePressEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position().toPoint().y());
    if (row < 0)
        return;
    SetSelectedRow(row);
    if (event->button() == Qt::LeftButton) {
        DragFrom = row;
        DropRow = row;
        PressPos = event->position().toPoint();
    }
    Q_EMIT MouseDown(event->button(), event->globalPosition().toPoint());
}

int TCalculatorGrid::DropRowAt(int y) const
{
    const int row = rowAt(y);
    if (row >= 0)
        return row;
    return y < 0 ? 0 : TCalculator::Levels - 1;
}

void TCalculatorGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (DragFrom < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pos = event->position().toPoint();
    if (!Dragging && (pos - PressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    Dragging = true;
    const int row = DropRowAt(pos.y());
    if (row != DropRow) {
        DropRow = row;
        viewport()->update();
    }
}

void TCalculatorGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool moved = Dragging && DropRow != DragFrom;
    const int from = DragFrom;
    const int to = DropRow;
    DragFrom = DropRow = -1;
    Dragging = false;
    viewport()->update();
    if (moved) {
        SetSelectedRow(to);
        Q_EMIT RowMoved(from, to);
    }
}

void TCalculatorGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position().toPoint().y());
    if (event->button() != Qt::LeftButton || row < 0)
        return;
    SetSelectedRow(row);
    Q_EMIT DoubleClicked();
}

void TCalculatorGrid::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (event->modifiers() & ~Qt::KeypadModifier) {
            event->ignore();
            return;
        }
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)
            SetSelectedRow(SelectedRow() + (event->key() == Qt::Key_Up ? -1 : 1));
        else if (event->key() == Qt::Key_Home || event->key() == Qt::Key_PageUp)
            SetSelectedRow(0);
        else
            SetSelectedRow(TCalculator::XRow);
        event->accept();
        return;
    default:
        event->ignore();
    }
}

void TCalculatorGrid::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse's menu opened on the button press already.
    if (event->reason() == QContextMenuEvent::Keyboard)
        Q_EMIT MenuKeyPressed(KeyboardMenuPoint(*this));
}

void TCalculatorGrid::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (!Dragging || DropRow == DragFrom)
        return;
    // A bar where the dragged row will land: above the target row when moving
    // up, below it when moving down.
    const int top = rowViewportPosition(DropRow);
    const int y = DropRow < DragFrom ? top : top + rowHeight(DropRow) - 1;
    QPainter painter(viewport());
    painter.fillRect(QRect(0, y - 1, viewport()->width(), 3), palette().color(QPalette::Highlight));
}

void TCalculatorGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitToContents();
}
