#include "calc/CalcStackModel.h"

#include "calc/CalcFormat.h"
#include "calc/Calculator.h"
#include "platform/AnsiText.h"

TCalcStackModel::TCalcStackModel(const TCalculator& calc, QObject* parent)
    : QAbstractTableModel(parent)
    , Calc(calc)
{
    SetBaseFont(QFont());
}

int TCalcStackModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TCalculator::Levels;
}

int TCalcStackModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant TCalcStackModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    const bool label = index.column() == 0;
    switch (role) {
    case Qt::DisplayRole:
        return label ? FromCore(StackLabels[static_cast<size_t>(row)])
                     : FromCore(Calc.RowText(row));
    case Qt::FontRole:
        return label ? Label : ValueFont(row == TCalculator::XRow);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags TCalcStackModel::flags(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    // Only values are selected; a press on a label selects its value.
    return index.column() == 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TCalcStackModel::SetBaseFont(const QFont& font)
{
    Label = font;
    Label.setPointSize(13);
    Label.setBold(true);
    Value = font;
    Value.setPointSize(10);
    Value.setBold(false);
    XValue = Value;
    XValue.setBold(true);
    Refresh();
}

void TCalcStackModel::Refresh()
{
    Q_EMIT dataChanged(
        index(0, 0), index(TCalculator::Levels - 1, 1), { Qt::DisplayRole, Qt::FontRole });
}
