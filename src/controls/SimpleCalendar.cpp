#include "controls/SimpleCalendar.h"

#include "controls/AccessibleNames.h"
#include "controls/Contrast.h"
#include "platform/AnsiText.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

using namespace Qt::StringLiterals;

namespace
{

// The room between the panel's border and the paint surface.
constexpr int BorderWidth = 2;

QRect ToQRect(const TCalendarRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// Text drawn with its top, not its base line, at y.
void DrawTextAt(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(x, y + QFontMetrics(painter.font()).ascent(), text);
}

} // namespace

// The panel's one child: it paints the months and takes the mouse.
class TCalendarSurface final : public QWidget
{
public:
    explicit TCalendarSurface(TSimpleCalendar* calendar)
        : QWidget(calendar)
        , Calendar(calendar)
    {
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        Calendar->Paint(painter, event->rect());
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        Calendar->MousePressed(
            event->position().toPoint(), event->modifiers().testFlag(Qt::ShiftModifier));
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        Calendar->MouseReleased(event->position().toPoint());
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!Calendar->KeyPressed(event->key(), event->modifiers()))
            QWidget::keyPressEvent(event);
    }
    // The focus frame sits on the chosen day.
    void focusInEvent(QFocusEvent* event) override
    {
        update();
        QWidget::focusInEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override
    {
        update();
        QWidget::focusOutEvent(event);
    }
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::FontChange) {
            Calendar->SyncGeometry();
            update();
        }
        QWidget::changeEvent(event);
    }

private:
    TSimpleCalendar* Calendar;
};

TSimpleCalendar::TSimpleCalendar(TDateTime today, QWidget* parent)
    : QFrame(parent)
    , SurfaceWidget(new TCalendarSurface(this))
    , State(today)
    , CalColorValue(palette().color(QPalette::Base))
    , Today([today] { return today; })
{
    // Tab reaches the days; a click on one takes the focus too.
    SurfaceWidget->setObjectName(u"CalendarSurface"_s);
    SurfaceWidget->setFocusPolicy(Qt::StrongFocus);
    InstallCalendarAccessibility();
    setFocusProxy(SurfaceWidget);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    SurfaceWidget->setGeometry(SurfaceRect());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    SyncGeometry();
}

void TSimpleCalendar::SetAllowRange(bool allow)
{
    State.SetAllowRange(allow);
}

void TSimpleCalendar::SetDate(TDateTime date)
{
    SyncGeometry();
    State.SetDate(date);
    SurfaceWidget->update();
    QAccessibleValueChangeEvent changed(SurfaceWidget, date);
    QAccessible::updateAccessibility(&changed);
    Q_EMIT OnChange();
}

void TSimpleCalendar::SetDateRange(TDateTime date)
{
    State.SetDateRange(date);
    SurfaceWidget->update();
    Q_EMIT OnChange();
}

void TSimpleCalendar::SetCalColor(const QColor& colour)
{
    CalColorValue = colour;
    SurfaceWidget->update();
}

void TSimpleCalendar::SetDayFontStyle(TDayFontStyle callback)
{
    DayFontStyle = std::move(callback);
    SurfaceWidget->update();
}

void TSimpleCalendar::ScrollMonths(int count)
{
    State.ScrollMonths(count);
    SurfaceWidget->update();
}

TDateTime TSimpleCalendar::ShownEnd() const
{
    SyncGeometry();
    return State.ShownEnd();
}

QWidget* TSimpleCalendar::Surface() const
{
    return SurfaceWidget;
}

std::optional<QRect> TSimpleCalendar::DayCellRect(TDateTime day) const
{
    SyncGeometry();
    const std::vector<TCalendarRect> cells = CellsBetween(State.Months(), day, day);
    if (cells.empty())
        return std::nullopt;
    return ToQRect(cells.front());
}

QSize TSimpleCalendar::sizeHint() const
{
    return SizeForMonths(1);
}

QSize TSimpleCalendar::SizeForMonths(int months) const
{
    const TCalendarGeometry g = Measure();
    const int around = 2 * (frameWidth() + BorderWidth);
    return QSize(
        months * 7 * g.CellWidth + (months - 1) * MonthGap + 1 + around, 9 * g.CellHeight + around);
}

TCalendarGeometry TSimpleCalendar::Measure() const
{
    const QFontMetrics metrics(SurfaceWidget->font());
    TCalendarGeometry g;
    g.CellWidth = metrics.horizontalAdvance(u"Wedi"_s);
    g.CellHeight = metrics.height() + 1;
    // The size the surface has, or is about to get while the panel is hidden.
    const QRect client = SurfaceRect();
    g.ClientWidth = client.width();
    g.ClientHeight = client.height();
    return g;
}

QRect TSimpleCalendar::SurfaceRect() const
{
    return contentsRect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
}

void TSimpleCalendar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    SurfaceWidget->setGeometry(SurfaceRect());
    SyncGeometry();
}

void TSimpleCalendar::SyncGeometry() const
{
    State.SetGeometry(Measure());
}

void TSimpleCalendar::Paint(QPainter& painter, const QRect& clip) const
{
    SyncGeometry();
    const QPalette& colours = palette();
    const QColor highlight = colours.color(QPalette::Highlight);
    painter.fillRect(clip, colours.color(QPalette::Window));
    const QFont plain = SurfaceWidget->font();
    QFont bold = plain;
    bold.setBold(true);

    for (const TCalendarMonth& month : State.Months().Months) {
        const QRect band = ToQRect(month.TitleBand);
        const QRect body = ToQRect(month.Body);
        if (!clip.intersects(band.united(body)))
            continue;
        painter.fillRect(band, highlight);
        painter.setFont(bold);
        // A desktop's light highlight may come with white text on it.
        painter.setPen(ReadableInk(highlight, colours.color(QPalette::HighlightedText)));
        const QString title = FromCore(month.Title);
        const int titleWidth = QFontMetrics(bold).horizontalAdvance(title);
        DrawTextAt(
            painter, band.left() + (band.width() - 1 - titleWidth) / 2, month.TitleTop, title);

        painter.fillRect(body, CalColorValue);
        painter.setFont(plain);
        painter.setPen(ReadableInk(CalColorValue, highlight));
        const QFontMetrics metrics(plain);
        for (int i = 0; i < 7; ++i) {
            const QString name = FromCore(WeekDayNames[i]);
            const QRect cell = ToQRect(month.WeekDayCells[i]);
            DrawTextAt(painter, cell.left() + (cell.width() - metrics.horizontalAdvance(name)) / 2,
                cell.top(), name);
        }
        for (const TCalendarDay& day : month.Days)
            if (clip.intersects(ToQRect(day.Cell)))
                PaintDay(painter, day);
        painter.fillRect(ToQRect(month.Rule), highlight);
    }
}

void TSimpleCalendar::PaintDay(QPainter& painter, const TCalendarDay& day) const
{
    const QPalette& colours = palette();
    const QRect cell = ToQRect(day.Cell);
    // The body may be any colour the user or the desktop chose.
    QColor ink = ReadableInk(CalColorValue, colours.color(QPalette::Text));
    if (State.IsChosen(day.Date)) {
        const QColor highlight = colours.color(QPalette::Highlight);
        painter.fillRect(cell, highlight);
        ink = ReadableInk(highlight, colours.color(QPalette::HighlightedText));
    }
    QFont font = SurfaceWidget->font();
    TFontStyles styles { font.bold(), font.italic(), font.underline(), font.strikeOut() };
    if (DayFontStyle)
        DayFontStyle(day.Year, day.Month, day.Day, styles);
    font.setBold(styles.Bold);
    font.setItalic(styles.Italic);
    font.setUnderline(styles.Underline);
    font.setStrikeOut(styles.StrikeOut);
    painter.setFont(font);
    painter.setPen(ink);
    const QString number = QString::number(day.Day);
    const int width = QFontMetrics(font).horizontalAdvance(number);
    DrawTextAt(painter, cell.left() + (cell.width() - width) / 2, cell.top(), number);
    if (SurfaceWidget->hasFocus() && day.Date == State.Date()) {
        painter.setPen(QPen(ink, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cell.adjusted(1, 1, -2, -2));
    }
}

void TSimpleCalendar::MousePressed(const QPoint& at, bool shift)
{
    SyncGeometry();
    const TCalendarClick click = State.Press(at.x(), at.y(), shift);
    if (State.AllowRange())
        SurfaceWidget->setCursor(Qt::CrossCursor);
    if (!click.Handled)
        return;
    RepaintCells(click.Repaint);
    Q_EMIT OnChange();
}

void TSimpleCalendar::MouseReleased(const QPoint& at)
{
    if (!State.AllowRange())
        return;
    SyncGeometry();
    const TCalendarClick click = State.Release(at.x(), at.y());
    if (click.Handled) {
        RepaintCells(click.Repaint);
        Q_EMIT OnChange();
    }
    SurfaceWidget->unsetCursor();
}

void TSimpleCalendar::RepaintCells(const std::vector<TCalendarRect>& cells)
{
    QRegion region;
    for (const TCalendarRect& cell : cells)
        region += ToQRect(cell);
    SurfaceWidget->update(region);
}
