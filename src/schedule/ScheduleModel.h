#pragma once

#include "schedule/ScheduleList.h"

#include <QAbstractTableModel>

class IClock;
struct TSettings;

// The schedule grid's cells over a filled list: one row per element and one
// empty row at the end, under the column headers. Model row r is grid row
// r + 1 (the header is grid row 0). Colours are read from the options and
// today's date from the clock whenever a cell is asked for, so they follow the
// options and the day without a refill.
//
// Roles: Qt::ForegroundRole the text colour, Qt::BackgroundRole the today
// colour (none on other days), ImageRole a calendar image (-1 none), BoldRole
// and UnderlineRole the text style, DateRole the long date of the date column,
// drawn beside its week day.
class TScheduleModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role { ImageRole = Qt::UserRole + 1, BoldRole, UnderlineRole, DateRole };
    enum Column { ImageColumn = 0, DateColumn = 1, TimeColumn = 2, EventColumn = 3 };

    TScheduleModel(const IClock& clock, const TSettings& settings, QObject* parent = nullptr);

    void SetList(TScheduleList list);
    const TScheduleList& List() const { return FList; }
    // The element of grid row `row`, or null for the header and the empty row.
    const TElement* ElementAtRow(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const IClock& Clock;
    const TSettings& Settings;
    TScheduleList FList;
};
