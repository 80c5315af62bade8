#include "diary/DiaryGridModel.h"

#include "controls/ImageLists.h"
#include "diary/DiaryKeys.h"
#include "diary/DiaryStore.h"
#include "platform/AnsiText.h"

#include <QColor>
#include <QDate>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace
{

int EventImage(const TDiaryEvent& event, int column)
{
    if (column == dcLocked)
        return event.Locked ? TImageLists::ciLocked : -1;
    if (column != dcEventType)
        return -1;
    switch (event.EventType) {
    case etAlarm:
        return TImageLists::ciAlarm;
    case etTicked:
        return TImageLists::ciTicked;
    case etCrossed:
        return TImageLists::ciCrossed;
    default:
        return -1;
    }
}

// The warning's ink: a red that reads on the light cell and on the highlight.
const QColor WarningInk(200, 0, 0);

} // namespace

TDiaryGridModel::TDiaryGridModel(TDiaryStore& store, QObject* parent)
    : QAbstractTableModel(parent)
    , Store(&store)
{
}

int TDiaryGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : EventRows;
}

int TDiaryGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : DiaryColumnCount;
}

const TDiaryEvent* TDiaryGridModel::EventShown(int row) const
{
    if (!Store)
        return nullptr;
    const TDiaryEvent* event = Store->DayEvents();
    for (int r = 0; event && r < row; ++r)
        event = event->Next.get();
    return event;
}

QString TDiaryGridModel::ImpossibleTimeText()
{
    return u"There is no such time of day: this event will never ring."_s;
}

QVariant TDiaryGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int column = index.column();
    const TDiaryEvent* event = EventShown(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (!event)
            return QString();
        if (column == dcTime)
            return FromCore(TimeText(event->Time));
        if (column == dcDescription)
            return FromCore(event->Description);
        return QString();
    case Qt::AccessibleTextRole: {
        // What the pictures of the first two columns say, for screen readers.
        switch (event ? EventImage(*event, column) : -1) {
        case TImageLists::ciLocked:
            return u"Locked"_s;
        case TImageLists::ciAlarm:
            return u"Alarm"_s;
        case TImageLists::ciTicked:
            return u"Done"_s;
        case TImageLists::ciCrossed:
            return u"Canned"_s;
        default:
            return data(index, Qt::DisplayRole);
        }
    }
    case ImageRole:
        return event ? EventImage(*event, column) : -1;
    case Qt::DecorationRole: {
        const int image = event ? EventImage(*event, column) : -1;
        return image < 0 ? QVariant() : QVariant(TImageLists::CalendarIcon(image));
    }
    case BoldRole:
        return column == dcTime;
    case UnderlineRole:
        return false;
    case Qt::ForegroundRole:
        if (event && column == dcTime && !IsClockTime(event->Time))
            return WarningInk;
        return {};
    case Qt::ToolTipRole:
        if (event && column == dcTime && !IsClockTime(event->Time))
            return ImpossibleTimeText();
        return {};
    default:
        return {};
    }
}

bool TDiaryGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!Store || role != Qt::EditRole || !index.isValid()
        || !checkIndex(index, CheckIndexOption::IndexIsValid) || index.column() != dcDescription)
        return false;
    TDiaryEvent* event = Store->EventAtRow(static_cast<uint8_t>(index.row() + 1));
    const std::string text = FirstLine(ToCore(value.toString()));
    if (event->Description != text) {
        event->Description = text;
        Q_EMIT dataChanged(index, index, { Qt::DisplayRole, Qt::EditRole });
        Q_EMIT DescriptionEdited();
    }
    return true;
}

QVariant TDiaryGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!Store || orientation != Qt::Horizontal || section < 0 || section >= DiaryColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole: {
        if (section == dcTime)
            return u"Time"_s;
        if (section != dcDescription)
            return QString();
        const TCivilDate date = DecodeDate(Store->CalendarDate());
        return QLocale().toString(QDate(date.Year, date.Month, date.Day), u"ddd, d MMM yyyy"_s);
    }
    case ImageRole:
        if (section == dcLocked)
            return int(TImageLists::ciLocked);
        return section == dcEventType ? int(TImageLists::ciAlarm) : -1;
    case Qt::DecorationRole:
        if (section == dcLocked || section == dcEventType)
            return TImageLists::CalendarIcon(
                section == dcLocked ? TImageLists::ciLocked : TImageLists::ciAlarm);
        return {};
    case BoldRole:
        return section == dcTime || section == dcDescription;
    case UnderlineRole:
        return section == dcDescription
            && DateOf(Store->CalendarDate()) == DateOf(Store->CurrentDateTime);
    default:
        return {};
    }
}

Qt::ItemFlags TDiaryGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == dcDescription ? flags | Qt::ItemIsEditable : flags;
}

void TDiaryGridModel::Refresh()
{
    Q_EMIT dataChanged(index(0, 0), index(EventRows - 1, DiaryColumnCount - 1));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, DiaryColumnCount - 1);
}
