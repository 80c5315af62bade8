#include "schedule/ScheduleModel.h"

#include "controls/Contrast.h"
#include "platform/AnsiText.h"
#include "settings/Settings.h"
#include "settings/SettingsConvert.h"

#include <QDate>
#include <QGuiApplication>
#include <QLocale>
#include <QTime>

using namespace Qt::StringLiterals;

namespace
{

QDate ToQDate(TDateTime value)
{
    const TCivilDate date = DecodeDate(value);
    return QDate(date.Year, date.Month, date.Day);
}

} // namespace

TScheduleModel::TScheduleModel(const IClock& clock, const TSettings& settings, QObject* parent)
    : QAbstractTableModel(parent)
    , Clock(clock)
    , Settings(settings)
{
}

void TScheduleModel::SetList(TScheduleList list)
{
    beginResetModel();
    FList = std::move(list);
    endResetModel();
}

const TElement* TScheduleModel::ElementAtRow(int row) const
{
    if (row < 1 || row > static_cast<int>(FList.Elements.size()))
        return nullptr;
    return &FList.Elements[static_cast<size_t>(row - 1)];
}

int TScheduleModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FList.Elements.size()) + 1;
}

int TScheduleModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant TScheduleModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    const TElement* element = ElementAtRow(row);
    const bool today = element && IsOnDay(*element, Clock.Now());
    // Today's rows are coloured whole, the empty ones among them too.
    if (role == Qt::BackgroundRole)
        return today ? QVariant(ColourToQColor(Settings.ColourToday)) : QVariant();
    if (!element || element->Description.empty())
        return role == ImageRole ? QVariant(-1) : QVariant();
    switch (role) {
    case Qt::ForegroundRole: {
        // The user's ink, lightened on a dark desktop's rows until it reads.
        const QColor ground = today ? ColourToQColor(Settings.ColourToday)
                                    : QGuiApplication::palette().color(QPalette::Base);
        return ShadeToRead(ground,
            ColourToQColor(element->Overdue ? Settings.ColourOverdue : Settings.ColourComingUp));
    }
    case ImageRole:
        return index.column() == ImageColumn ? ElementImage(*element) : -1;
    case BoldRole:
        return index.column() == DateColumn || index.column() == TimeColumn;
    case UnderlineRole:
        return index.column() == DateColumn && today;
    case DateRole:
        if (index.column() == DateColumn && StartsDay(FList.Elements, row))
            return QLocale().toString(ToQDate(element->DateTime), u"dd MMM yyyy"_s);
        return {};
    case Qt::DisplayRole:
        switch (index.column()) {
        case DateColumn:
            if (!StartsDay(FList.Elements, row))
                return {};
            return QLocale().toString(ToQDate(element->DateTime), u"ddd"_s);
        case TimeColumn: {
            if (!HasTimeOfDay(*element))
                return {};
            const TCivilTime time = DecodeTime(element->DateTime);
            return QLocale().toString(QTime(time.Hour, time.Minute), u"hh:mm"_s);
        }
        case EventColumn:
            return FromCore(element->Description);
        default:
            return {};
        }
    default:
        return {};
    }
}

QVariant TScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == ImageRole)
        return section == ImageColumn ? 1 : -1;
    if (role == Qt::DisplayRole) {
        static const QString titles[4] = { QString(), u"Date"_s, u"Time"_s, u"Event"_s };
        if (section >= 0 && section < 4)
            return titles[section];
    }
    return {};
}
