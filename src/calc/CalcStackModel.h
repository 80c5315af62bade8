#pragma once

#include <QAbstractTableModel>
#include <QFont>

class TCalculator;

// The eight rows of the stack display over the calculator record: column 0 the
// level labels, column 1 the values; row 7 (X) at the bottom.
class TCalcStackModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TCalcStackModel(const TCalculator& calc, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The grid's own font; labels and values take their sizes from it.
    void SetBaseFont(const QFont& font);
    QFont LabelFont() const { return Label; }
    QFont ValueFont(bool isX) const { return isX ? XValue : Value; }
    // The record changed: every cell is read again.
    void Refresh();

private:
    const TCalculator& Calc;
    QFont Label, Value, XValue;
};
