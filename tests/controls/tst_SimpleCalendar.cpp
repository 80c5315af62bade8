#include "controls/Contrast.h"
#include "controls/SimpleCalendar.h"

#include <QImage>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

// A function, not a constant: the date routines may not be ready before main.
TDateTime Today()
{
    return EncodeDate(2000, 1, 15);
}

std::unique_ptr<TSimpleCalendar> MakeCalendar(QSize size)
{
    auto calendar = std::make_unique<TSimpleCalendar>(Today());
    calendar->setObjectName(u"Calendar"_s);
    calendar->setFont(QFont(u"DejaVu Sans"_s, 10));
    calendar->resize(size);
    return calendar;
}

QPoint CentreOf(const TSimpleCalendar& calendar, TDateTime day)
{
    const std::optional<QRect> cell = calendar.DayCellRect(day);
    if (!cell)
        qFatal("the day is not shown");
    return cell->center();
}

void Click(TSimpleCalendar& calendar, QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    QTest::mouseClick(calendar.Surface(), Qt::LeftButton, keys, at);
}

bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 100;
}

int InkIn(const QImage& image, const QRect& cell)
{
    int ink = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            ink += IsInk(image.pixel(x, y));
    return ink;
}

// The longest run of ink along one row of the cell, below the digits' base line.
int LongestInkBelowDigits(const QImage& image, const QRect& cell, int baseLine)
{
    int longest = 0;
    for (int y = cell.top() + baseLine + 1; y <= cell.bottom(); ++y) {
        int run = 0;
        for (int x = cell.left(); x <= cell.right(); ++x) {
            run = IsInk(image.pixel(x, y)) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

// Keeps the region of every paint the surface receives.
class TPaintRecorder : public QObject
{
public:
    QRegion Painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

QString ShotPath(const QString& name)
{
    const QString dir = qEnvironmentVariable("TALVO_SHOT_DIR", u"."_s);
    return dir + u'/' + name;
}

} // namespace

class TestSimpleCalendar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void contrastFollowsTheLuminanceFormula()
    {
        const auto light = [](int level) {
            const double value = level / 255.0;
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        for (int level = 0; level < 256; ++level) {
            const double expected = (1.05) / (light(level) + 0.05);
            const double ratio = ContrastRatio(QColor(level, level, level), Qt::white);
            QVERIFY2(
                std::abs(ratio - expected) < 1e-9 * expected, qPrintable(QString::number(level)));
        }
        const double mixed = (0.2126 * light(200) + 0.7152 * light(30) + 0.0722 * light(90)) + 0.05;
        QVERIFY(std::abs(ContrastRatio(Qt::black, QColor(200, 30, 90)) - mixed / 0.05) < 1e-9);
        QCOMPARE(ReadableInk(QColor(40, 40, 40), QColor(60, 60, 60)), QColor(Qt::white));
        QCOMPARE(ReadableInk(QColor(255, 255, 200), QColor(Qt::darkBlue)), QColor(Qt::darkBlue));

        // A shade keeps its hue and goes only as far as it must.
        QCOMPARE(ShadeToRead(Qt::white, QColor(30, 70, 170)), QColor(30, 70, 170));
        for (const QColor& ground : { QColor(49, 54, 59), QColor(0, 0, 0), QColor(250, 250, 90) })
            for (const QColor& ink : { QColor(30, 70, 170), QColor(190, 30, 30), ground }) {
                const QColor shade = ShadeToRead(ground, ink);
                QVERIFY(ContrastRatio(ground, shade) >= LegibleRatio);
                QVERIFY(shade == ink || ContrastRatio(ground, shade) < LegibleRatio + 0.2);
            }
        const QColor blue = ShadeToRead(QColor(49, 54, 59), QColor(30, 70, 170));
        QVERIFY(blue.blue() > blue.red() + 40);
    }

    void theKeyboardMovesTheChoiceAsAClickDoes()
    {
        auto calendar = MakeCalendar(QSize(400, 300));
        calendar->SetToday([] { return EncodeDate(2000, 3, 31) + 0.5; });
        QCOMPARE(calendar->focusPolicy(), Qt::NoFocus);
        QCOMPARE(calendar->Surface()->focusPolicy(), Qt::StrongFocus);
        QSignalSpy changes(calendar.get(), &TSimpleCalendar::OnChange);
        const struct {
            Qt::Key Key;
            TDateTime Expected;
        } steps[] = {
            { Qt::Key_Right, EncodeDate(2000, 1, 16) },
            { Qt::Key_Down, EncodeDate(2000, 1, 23) },
            { Qt::Key_Up, EncodeDate(2000, 1, 16) },
            { Qt::Key_Left, EncodeDate(2000, 1, 15) },
            { Qt::Key_Home, EncodeDate(2000, 3, 31) },
            // A month on from the 31st ends on the shorter month's last day.
            { Qt::Key_PageDown, EncodeDate(2000, 4, 30) },
            { Qt::Key_PageUp, EncodeDate(2000, 3, 30) },
        };
        for (const auto& step : steps) {
            QTest::keyClick(calendar->Surface(), step.Key);
            QCOMPARE(calendar->Date(), step.Expected);
        }
        QCOMPARE(changes.size(), 7);
        // Other keys go on to the page; the chosen day's month is shown.
        QTest::keyClick(calendar->Surface(), Qt::Key_A);
        QCOMPARE(changes.size(), 7);
        QVERIFY(calendar->DayCellRect(calendar->Date()).has_value());
    }

    void aClickOnADayRaisesOnChangeEveryTime()
    {
        auto calendar = MakeCalendar(calendarSizeForMonths(2, 1));
        QSignalSpy changes(calendar.get(), &TSimpleCalendar::OnChange);
        const TDateTime day = EncodeDate(2000, 2, 3);
        Click(*calendar, CentreOf(*calendar, day));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(calendar->Date(), day);
        QCOMPARE(calendar->DateRange(), day);
        Click(*calendar, CentreOf(*calendar, day));
        QCOMPARE(changes.count(), 2);
    }

    void aClickBesideTheDaysRaisesNothing()
    {
        auto calendar = MakeCalendar(calendarSizeForMonths(2, 1));
        QSignalSpy changes(calendar.get(), &TSimpleCalendar::OnChange);
        const QRect first = *calendar->DayCellRect(EncodeDate(2000, 1, 1)); // a Saturday
        const QRect second = *calendar->DayCellRect(EncodeDate(2000, 2, 1));
        Click(*calendar, QPoint(first.center().x(), 2)); // title
        Click(*calendar, QPoint(first.center().x(), first.top() - 3)); // week days
        Click(*calendar, QPoint(first.center().x() - first.width(), first.top())); // empty cell
        Click(*calendar, QPoint(second.center().x(), 2)); // February's title
        Click(*calendar, QPoint(first.right() + 3, first.bottom() + 5)); // the gap between months
        QCOMPARE(changes.count(), 0);
        QCOMPARE(calendar->Date(), Today());
    }

    void theOwnerSettingTheChoiceRaisesOnChange()
    {
        auto calendar = MakeCalendar(calendarSizeForMonths(2, 1));
        QSignalSpy changes(calendar.get(), &TSimpleCalendar::OnChange);
        calendar->SetDate(EncodeDate(2000, 2, 20));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(calendar->FirstMonth(), Today()); // February was on screen already
        calendar->SetDate(EncodeDate(2000, 3, 1));
        QCOMPARE(changes.count(), 2);
        QCOMPARE(DecodeDate(calendar->FirstMonth()).Month, 3);
        calendar->SetDateRange(EncodeDate(2000, 3, 4));
        QCOMPARE(changes.count(), 3);
        QCOMPARE(calendar->Date(), EncodeDate(2000, 3, 1));
        calendar->SetCalColor(Qt::yellow);
        calendar->ScrollMonths(-3);
        QCOMPARE(changes.count(), 3);
        QCOMPARE(calendar->FirstMonth(), EncodeDate(1999, 12, 1));
    }

    void aClickRepaintsOnlyTheOldAndTheNewDay()
    {
        auto calendar = MakeCalendar(calendarSizeForMonths(2, 1));
        calendar->show();
        QVERIFY(QTest::qWaitForWindowExposed(calendar.get()));
        TPaintRecorder recorder;
        calendar->Surface()->installEventFilter(&recorder);
        const TDateTime day = EncodeDate(2000, 2, 3);
        Click(*calendar, CentreOf(*calendar, day));
        QTRY_VERIFY(!recorder.Painted.isEmpty());
        const QRegion expected
            = QRegion(*calendar->DayCellRect(Today())) + *calendar->DayCellRect(day);
        QCOMPARE(recorder.Painted - expected, QRegion());
    }

    void ownerStylesReachThePaintedDay()
    {
        auto calendar = MakeCalendar(calendarSizeForMonths(1, 1));
        calendar->SetCalColor(Qt::white);
        const QImage plain = calendar->Surface()->grab().toImage();
        int calls = 0;
        calendar->SetDayFontStyle([&](uint16_t year, uint16_t month, uint16_t day, TFontStyles& s) {
            QCOMPARE(s, TFontStyles {});
            QCOMPARE(year, 2000);
            QCOMPARE(month, 1);
            ++calls;
            s.Bold = day == 10;
            s.Underline = day == 11;
        });
        const QImage styled = calendar->Surface()->grab().toImage();
        QCOMPARE(calls, 31);

        const QRect bold = *calendar->DayCellRect(EncodeDate(2000, 1, 10));
        QVERIFY(InkIn(styled, bold) > InkIn(plain, bold));
        const QRect underlined = *calendar->DayCellRect(EncodeDate(2000, 1, 11));
        const int baseLine = QFontMetrics(calendar->Surface()->font()).ascent();
        QCOMPARE(LongestInkBelowDigits(plain, underlined, baseLine), 0);
        QVERIFY(LongestInkBelowDigits(styled, underlined, baseLine) >= underlined.width() / 3);
        const QRect other = *calendar->DayCellRect(EncodeDate(2000, 1, 12));
        QCOMPARE(styled.copy(other), plain.copy(other));
    }

    void aShiftClickBeforeTheAnchorMarksEveryDayBetween()
    {
        auto calendar = MakeCalendar(calendarSizeForMonths(2, 1));
        calendar->SetCalColor(Qt::white);
        calendar->SetAllowRange(true);
        QSignalSpy changes(calendar.get(), &TSimpleCalendar::OnChange);
        Click(*calendar, CentreOf(*calendar, EncodeDate(2000, 2, 2)));
        Click(*calendar, CentreOf(*calendar, EncodeDate(2000, 1, 28)), Qt::ShiftModifier);
        QCOMPARE(calendar->Date(), EncodeDate(2000, 2, 2));
        QCOMPARE(calendar->DateRange(), EncodeDate(2000, 1, 28));

        const QImage image = calendar->Surface()->grab().toImage();
        const QColor highlight = calendar->palette().color(QPalette::Highlight);
        for (TDateTime day = EncodeDate(2000, 1, 26); day <= EncodeDate(2000, 2, 4); ++day) {
            const QPoint corner = calendar->DayCellRect(day)->topLeft() + QPoint(1, 1);
            const bool chosen = day >= EncodeDate(2000, 1, 28) && day <= EncodeDate(2000, 2, 2);
            QCOMPARE(QColor(image.pixel(corner)), chosen ? highlight : QColor(Qt::white));
        }
        // With ranges allowed each release is heard too.
        QCOMPARE(changes.count(), 4);
    }

    void aDragChoosesARangeWithTheCrossCursor()
    {
        auto calendar = MakeCalendar(calendarSizeForMonths(2, 1));
        calendar->SetAllowRange(true);
        QSignalSpy changes(calendar.get(), &TSimpleCalendar::OnChange);
        QWidget* surface = calendar->Surface();
        QTest::mousePress(
            surface, Qt::LeftButton, {}, CentreOf(*calendar, EncodeDate(2000, 1, 20)));
        QCOMPARE(surface->cursor().shape(), Qt::CrossCursor);
        QTest::mouseRelease(
            surface, Qt::LeftButton, {}, CentreOf(*calendar, EncodeDate(2000, 2, 5)));
        QVERIFY(!surface->testAttribute(Qt::WA_SetCursor));
        QCOMPARE(calendar->Date(), EncodeDate(2000, 1, 20));
        QCOMPARE(calendar->DateRange(), EncodeDate(2000, 2, 5));
        QCOMPARE(changes.count(), 2);

        // Without ranges the release leaves the choice and the cursor alone.
        calendar->SetAllowRange(false);
        QTest::mousePress(surface, Qt::LeftButton, {}, CentreOf(*calendar, EncodeDate(2000, 1, 3)));
        QVERIFY(!surface->testAttribute(Qt::WA_SetCursor));
        QTest::mouseRelease(
            surface, Qt::LeftButton, {}, CentreOf(*calendar, EncodeDate(2000, 1, 9)));
        QCOMPARE(calendar->DateRange(), EncodeDate(2000, 1, 3));
        QCOMPARE(changes.count(), 3);
    }

    void textOnALightHighlightStaysReadable()
    {
        // A dark scheme's light blue highlight with white text on it.
        auto calendar = MakeCalendar(calendarSizeForMonths(1, 1));
        QPalette colours = calendar->palette();
        colours.setColor(QPalette::Window, QColor(35, 38, 41));
        colours.setColor(QPalette::Highlight, QColor(61, 174, 233));
        colours.setColor(QPalette::HighlightedText, QColor(252, 252, 252));
        calendar->setPalette(colours);
        calendar->SetCalColor(QColor(35, 38, 41));
        const QImage image = calendar->Surface()->grab().toImage();
        const QRect chosen = *calendar->DayCellRect(Today());
        const QRect title(0, 0, image.width(), chosen.height());
        for (const QRect& area : { chosen, title }) {
            // The ink is the pixel that stands out most from the highlight.
            double best = 1;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x) {
                    const QColor pixel = image.pixel(x, y);
                    if (pixel != colours.color(QPalette::Window))
                        best = std::max(best, ContrastRatio(pixel, QColor(61, 174, 233)));
                }
            QVERIFY2(best >= LegibleRatio, qPrintable(QString::number(best)));
        }
    }

    void theSizeHintHoldsOneMonth()
    {
        auto calendar = MakeCalendar(QSize(10, 10));
        QCOMPARE(calendar->ShownEnd(), EncodeDate(2000, 2, 1)); // too small, still one month
        calendar->resize(calendar->sizeHint());
        QCOMPARE(calendar->ShownEnd(), EncodeDate(2000, 2, 1));
        calendar->resize(calendar->sizeHint() + QSize(calendar->sizeHint().width(), 0));
        QCOMPARE(calendar->ShownEnd(), EncodeDate(2000, 3, 1));
        calendar->setFont(QFont(u"DejaVu Sans"_s, 20));
        QCOMPARE(calendar->ShownEnd(), EncodeDate(2000, 2, 1));
    }

    void rendersOneMonthAndSeveralRows()
    {
        auto calendar = MakeCalendar(calendarSizeForMonths(1, 1));
        calendar->SetDayFontStyle([](uint16_t, uint16_t, uint16_t day, TFontStyles& s) {
            s.Underline = day == 15;
            s.Bold = day % 7 == 3;
            s.Italic = day > 27;
        });
        const QImage one = calendar->grab().toImage();
        QCOMPARE(one.size(), calendar->sizeHint());
        QVERIFY(one.save(ShotPath(u"calendar-one-month.png"_s)));

        calendar->resize(calendarSizeForMonths(3, 2));
        calendar->SetAllowRange(true);
        calendar->SetCalColor(calendar->palette().color(QPalette::Light));
        calendar->SetDateRange(EncodeDate(2000, 2, 3));
        QCOMPARE(calendar->ShownEnd(), EncodeDate(2000, 7, 1));
        QVERIFY(calendar->grab().toImage().save(ShotPath(u"calendar-six-months.png"_s)));
    }

private:
    // Room for the given months across and down, with the 6-pixel gaps.
    static QSize calendarSizeForMonths(int across, int down)
    {
        TSimpleCalendar probe(Today());
        probe.setFont(QFont(u"DejaVu Sans"_s, 10));
        const QSize one = probe.sizeHint();
        const QSize around = one - QSize(7 * cellWidth(probe) + 1, 9 * cellHeight(probe));
        return QSize(
                   across * (7 * cellWidth(probe) + 6) - 5, down * (9 * cellHeight(probe) + 6) - 6)
            + around;
    }
    static int cellWidth(const TSimpleCalendar& c)
    {
        return QFontMetrics(c.font()).horizontalAdvance(u"Wedi"_s);
    }
    static int cellHeight(const TSimpleCalendar& c) { return QFontMetrics(c.font()).height() + 1; }
};

QTEST_MAIN(TestSimpleCalendar)
#include "tst_SimpleCalendar.moc"
