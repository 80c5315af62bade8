#include "controls/AccessibleNames.h"

#include "controls/SimpleCalendar.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QDate>
#include <QLocale>
#include <map>

using namespace Qt::StringLiterals;

namespace
{

QDate ToQDate(TDateTime date)
{
    const TCivilDate day = DecodeDate(date);
    return QDate(day.Year, day.Month, day.Day);
}

QString LongDate(TDateTime date)
{
    return QLocale().toString(ToQDate(date), QLocale::LongFormat);
}

class TCalendarAccessible;

// One shown day, a cell of the calendar.
class TDayAccessible final : public QAccessibleInterface
{
public:
    TDayAccessible(TCalendarAccessible* calendar, TDateTime day)
        : Calendar(calendar)
        , Day(day)
    {
    }
    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? LongDate(Day) : QString();
    }
    void setText(QAccessible::Text, const QString&) override { }
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;

private:
    TCalendarAccessible* Calendar;
    TDateTime Day;
};

// The paint surface, which holds the focus for the calendar.
class TCalendarAccessible final : public QAccessibleWidget
{
public:
    explicit TCalendarAccessible(QWidget* surface)
        : QAccessibleWidget(surface, QAccessible::Table, u"Calendar"_s)
    {
    }
    ~TCalendarAccessible() override
    {
        for (const auto& [day, id] : Ids)
            QAccessible::deleteAccessibleInterface(id);
    }
    QWidget* Surface() const { return widget(); }
    TSimpleCalendar* Calendar() const
    {
        return static_cast<TSimpleCalendar*>(widget()->parentWidget());
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return u"Calendar"_s;
        if (t == QAccessible::Value)
            return LongDate(Calendar()->Date());
        return QAccessibleWidget::text(t);
    }
    int childCount() const override
    {
        return static_cast<int>(Calendar()->ShownEnd() - FirstShown());
    }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const TDateTime day = FirstShown() + index;
        auto found = Ids.find(day);
        if (found == Ids.end()) {
            auto* cell = new TDayAccessible(const_cast<TCalendarAccessible*>(this), day);
            found = Ids.emplace(day, QAccessible::registerAccessibleInterface(cell)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (const auto& [day, id] : Ids)
            if (QAccessible::accessibleInterface(id) == child)
                return static_cast<int>(day - FirstShown());
        return -1;
    }
    TDateTime FirstShown() const
    {
        const TCivilDate first = DecodeDate(Calendar()->FirstMonth());
        return EncodeDate(first.Year, first.Month, 1);
    }

private:
    mutable std::map<TDateTime, QAccessible::Id> Ids;
};

QAccessibleInterface* TDayAccessible::parent() const
{
    return Calendar;
}

QRect TDayAccessible::rect() const
{
    const std::optional<QRect> cell = Calendar->Calendar()->DayCellRect(Day);
    if (!cell)
        return {};
    return QRect(Calendar->Surface()->mapToGlobal(cell->topLeft()), cell->size());
}

QAccessible::State TDayAccessible::state() const
{
    QAccessible::State state;
    state.selectable = true;
    state.selected = Day == Calendar->Calendar()->Date();
    return state;
}

QAccessibleInterface* CalendarFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->objectName() == u"CalendarSurface"_s
        && qobject_cast<TSimpleCalendar*>(widget->parentWidget()))
        return new TCalendarAccessible(widget);
    return nullptr;
}

} // namespace

void NameIconButtons(QWidget* root)
{
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>())
        if (button->text().isEmpty() && button->accessibleName().isEmpty())
            button->setAccessibleName(button->toolTip());
}

void InstallCalendarAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(CalendarFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
