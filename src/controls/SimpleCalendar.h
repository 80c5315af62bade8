#pragma once

#include "base/DateTime.h"
#include "controls/CalendarLayout.h"
#include "controls/FontStyles.h"

#include <QColor>
#include <QFrame>
#include <functional>
#include <optional>

class TCalendarSurface;

// A month calendar drawn by hand: as many whole months as fit, one day or
// (with AllowRange) a range of days chosen with the mouse, and each day's
// number styled by the owner through DayFontStyle. A panel holding one paint
// surface, which does all the drawing and takes the mouse.
class TSimpleCalendar : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(bool AllowRange READ AllowRange WRITE SetAllowRange)
    Q_PROPERTY(double Date READ Date WRITE SetDate)
    Q_PROPERTY(double DateRange READ DateRange WRITE SetDateRange)
    Q_PROPERTY(QColor CalColor READ CalColor WRITE SetCalColor)

public:
    // `today` is the day first chosen and shown.
    explicit TSimpleCalendar(TDateTime today, QWidget* parent = nullptr);

    bool AllowRange() const { return State.AllowRange(); }
    void SetAllowRange(bool allow);
    // The chosen day (the anchor of a range), a whole day.
    TDateTime Date() const { return State.Date(); }
    // Keeps the months on screen when the day is among them, else shows its
    // month first; chooses the one day and raises OnChange.
    void SetDate(TDateTime date);
    // The other end of the chosen range; Date when one day is chosen.
    TDateTime DateRange() const { return State.DateRange(); }
    void SetDateRange(TDateTime date);
    // Background of the month bodies; the palette's base colour at first.
    QColor CalColor() const { return CalColorValue; }
    void SetCalColor(const QColor& colour);
    void SetDayFontStyle(TDayFontStyle callback);
    // Moves the months shown by count, back when negative; the choice stays.
    void ScrollMonths(int count);
    // Where Home goes; the day first shown until the owner says otherwise.
    void SetToday(std::function<TDateTime()> today);
    // The keyboard: the arrows move the chosen day by a day or a week, Page Up
    // and Page Down by a month, Home to today, each as SetDate does. False for
    // any other key.
    bool KeyPressed(int key, Qt::KeyboardModifiers modifiers);

    // A day in the first month shown, and the day after the last day shown.
    TDateTime FirstMonth() const { return State.FirstMonth(); }
    TDateTime ShownEnd() const;
    // The paint surface, and where a shown day's cell lies on it.
    QWidget* Surface() const;
    std::optional<QRect> DayCellRect(TDateTime day) const;

    // One month block, with the panel's border around it. Smaller sizes are
    // allowed: the first month is then clipped.
    QSize sizeHint() const override;
    // The size that shows `months` months side by side.
    QSize SizeForMonths(int months) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

Q_SIGNALS:
    // The choice was made again: by a click on a day (even the day already
    // chosen), a drag, or by the owner setting Date or DateRange.
    void OnChange();

private:
    friend class TCalendarSurface;

    QRect SurfaceRect() const;
    TCalendarGeometry Measure() const;
    void SyncGeometry() const;
    void Paint(QPainter& painter, const QRect& clip) const;
    void PaintDay(QPainter& painter, const TCalendarDay& day) const;
    void MousePressed(const QPoint& at, bool shift);
    void MouseReleased(const QPoint& at);
    void RepaintCells(const std::vector<TCalendarRect>& cells);

    TCalendarSurface* SurfaceWidget;
    // Laid out again whenever the surface's size or font is found changed.
    mutable TCalendarState State;
    QColor CalColorValue;
    TDayFontStyle DayFontStyle;
    std::function<TDateTime()> Today;
};
