#include "CalendarPageFixture.h"
#include "controls/ImageLists.h"
#include "controls/TextViewer.h"
#include "settings/ApplySettings.h"
#include "settings/SettingsConvert.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QToolButton>
#include <QToolTip>
#include <fstream>

using namespace Qt::StringLiterals;

// The diary page as the user meets it: the calendar and its buttons, typing
// into the grid, the mouse on the grid, and the styles of the calendar's days.
// Keys that no keyboard layout of the test machine has.
static void TypeText(QWidget* widget, const QString& text)
{
    // One key per character, a surrogate pair's two units together.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QApplication::sendEvent(widget, &press);
        i += n - 1;
    }
}

class TestCalendarPage : public QObject, private TCalendarPageFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(Start()); }
    void cleanup() { Stop(); }

    void theButtonsAndThePageFitTheirTextsAtEveryFontSize()
    {
        for (const int points : { 9, 16, 24 }) {
            Page->setFont(QFont(u"DejaVu Sans"_s, points));
            const QString size = QString::number(points);
            // Every caption and picture whole, with room at both ends.
            for (const char* name : { "TodayButton", "ScheduleButton", "DiaryFindButton" }) {
                const auto* button = Page->findChild<QAbstractButton*>(QString::fromLatin1(name));
                const int picture = button->icon().isNull() ? 0 : button->iconSize().width();
                const int caption = button->fontMetrics().horizontalAdvance(button->text());
                QVERIFY2(button->width() >= caption + picture + 8,
                    qPrintable(size + u' ' + QLatin1StringView(name)));
                QVERIFY2(button->height() >= button->fontMetrics().height() + 4,
                    qPrintable(size + u' ' + QLatin1StringView(name)));
            }
            const auto* help = Page->findChild<QAbstractButton*>(u"CalendarHelpButton"_s);
            QVERIFY(help->width() >= help->iconSize().width() + 4);
            // At its own size the page shows both months and twelve events.
            Page->resize(Page->sizeHint());
            QCoreApplication::processEvents();
            QVERIFY2(Page->CalendarControl()->width()
                    >= Page->CalendarControl()->SizeForMonths(2).width(),
                qPrintable(size));
            QVERIFY2(Grid()->viewport()->height() >= 12 * Grid()->rowHeight(0), qPrintable(size));
        }
    }

    void thePicturesColumnsSpeakAsText()
    {
        Add(3, 12, 900, "Dentist", etCrossed, 1);
        Add(3, 12, 1000, "Walk", etTicked);
        Choose(2025, 3, 12);
        const auto spoken = [this](int row, int column) {
            return Model()->index(row, column).data(Qt::AccessibleTextRole).toString();
        };
        QCOMPARE(spoken(0, 0), u"Locked"_s);
        QCOMPARE(spoken(0, 1), u"Canned"_s);
        QCOMPARE(spoken(1, 1), u"Done"_s);
        QCOMPARE(spoken(1, 3), u"Walk"_s);
        QCOMPARE(spoken(1, 0), u""_s);
    }

    void gridModelIsSound()
    {
        QAbstractItemModelTester tester(
            Model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        Add(3, 12, 900, "Dentist");
        Type(3, 2, u"Walk"_s);
        Page->EndEditing();
        Type(2, 2, u"730"_s);
        Type(2, 1, u"1000"_s); // a time alone is no event
        Choose(2025, 3, 12);
        QCOMPARE(Text(3, 1), u"Dentist"_s);
        QCOMPARE(Text(2, 1), u"09:00"_s);
        Choose(2025, 3, 5);
        QCOMPARE(Text(2, 1), u"07:30"_s);
        QCOMPARE(Text(3, 1), u"Walk"_s);
        QCOMPARE(Text(3, 2), u""_s);
    }

    void controlsCarryTheirCaptionsAndHints()
    {
        const auto button = [this](const char* name) {
            return Page->findChild<QAbstractButton*>(QString::fromLatin1(name));
        };
        QCOMPARE(button("TodayButton")->text(), u"Today"_s);
        QCOMPARE(button("TodayButton")->toolTip(), u"Jump to today's date"_s);
        QVERIFY(button("TodayButton")->font().underline());
        QCOMPARE(button("PrevMonthButton")->toolTip(), u"Scroll Left"_s);
        QCOMPARE(button("NextMonthButton")->toolTip(), u"Scroll Right"_s);
        QCOMPARE(button("ScheduleButton")->text(), u"Schedule"_s);
        QCOMPARE(button("ScheduleButton")->toolTip(), u"Show Overdue and Upcoming Events  (^S)"_s);
        QCOMPARE(button("DiaryFindButton")->text(), u"Find"_s);
        QCOMPARE(button("DiaryFindButton")->toolTip(), u"Search the Diary  (^F)"_s);
        QCOMPARE(button("CalendarHelpButton")->toolTip(), u"Help  (F1)"_s);
        QCOMPARE(Grid()->toolTip(), u"Diary Events: Locked, Alarmed, Time, Description"_s);
        QVERIFY(!Page->CalendarControl()->AllowRange());

        QCOMPARE(Model()->columnCount(), 4);
        QCOMPARE(Model()->rowCount(), 23);
        QCOMPARE(Grid()->columnWidth(0), 18);
        QCOMPARE(Grid()->columnWidth(1), 19);
        QFont bold = Grid()->font();
        bold.setBold(true);
        QCOMPARE(Grid()->columnWidth(2),
            std::max(38, QFontMetrics(bold).horizontalAdvance(u"00:00"_s) + 5));
        QVERIFY(Grid()->columnWidth(3) >= 345 || Grid()->viewport()->width() < 420);
        QCOMPARE(Grid()->rowHeight(0), 18);
        QCOMPARE(Grid()->horizontalHeader()->height(), 18);

        const QStringList types = { u"non alarm"_s, u"Alarm"_s, u"Done"_s, u"Cancelled"_s };
        QStringList captions;
        for (QAction* action : Menu(u"pmEventType"_s)->actions())
            captions << action->text();
        QCOMPARE(captions, types);
        captions.clear();
        for (QAction* action : Menu(u"pmDiary"_s)->actions())
            captions << (action->isSeparator() ? u"-"_s : action->text());
        QCOMPARE(captions,
            QStringList({ u"Undo"_s, u"Redo"_s, u"-"_s, u"Cut"_s, u"Copy"_s, u"Copy Event"_s,
                u"Paste"_s, u"-"_s, u"Repeat Weekly"_s, u"Clear Alike"_s }));
    }

    void buttonsMoveTheCalendarAndAskForOtherWindows()
    {
        TSimpleCalendar* calendar = Page->CalendarControl();
        Choose(2025, 6, 20);
        QCOMPARE(Store->SelectedDay, DayIndex(6, 20));
        const TDateTime first = calendar->FirstMonth();
        QTest::mouseClick(Page->findChild<QToolButton*>(u"NextMonthButton"_s), Qt::LeftButton);
        QCOMPARE(DecodeDate(calendar->FirstMonth()).Month, DecodeDate(first).Month + 1);
        QTest::mouseClick(Page->findChild<QToolButton*>(u"PrevMonthButton"_s), Qt::LeftButton);
        QTest::mouseClick(Page->findChild<QToolButton*>(u"PrevMonthButton"_s), Qt::LeftButton);
        QCOMPARE(DecodeDate(calendar->FirstMonth()).Month, DecodeDate(first).Month - 1);
        QCOMPARE(calendar->Date(), EncodeDate(2025, 6, 20)); // the chosen day stays

        Add(3, 5, 800, "Missed");
        QTest::mouseClick(Page->findChild<QPushButton*>(u"TodayButton"_s), Qt::LeftButton);
        QCOMPARE(calendar->Date(), EncodeDate(2025, 3, 5));
        QCOMPARE(Store->SelectedDay, DayIndex(3, 5));
        QCOMPARE(Text(3, 1), u"Missed"_s);
        QCOMPARE(StatusText, u"1 Overdue Events"_s);

        QSignalSpy schedule(Page.get(), &TCalendarPage::ScheduleRequested);
        QSignalSpy find(Page.get(), &TCalendarPage::FindRequested);
        QSignalSpy help(Page.get(), &TCalendarPage::HelpRequested);
        QTest::mouseClick(Page->findChild<QPushButton*>(u"ScheduleButton"_s), Qt::LeftButton);
        QTest::mouseClick(Page->findChild<QPushButton*>(u"DiaryFindButton"_s), Qt::LeftButton);
        QTest::mouseClick(Page->findChild<QToolButton*>(u"CalendarHelpButton"_s), Qt::LeftButton);
        QCOMPARE(schedule.count(), 1);
        QCOMPARE(find.count(), 1);
        QCOMPARE(help.count(), 1);
        QCOMPARE(help.front().front().toInt(), 4);
    }

    void digitsPlusAndMinusTypeTimes()
    {
        Type(2, 1, u"830"_s);
        QCOMPARE(Text(2, 1), u"08:30"_s);
        Key(Qt::Key_Plus);
        QCOMPARE(Text(2, 1), u"09:00"_s);
        Key(Qt::Key_Minus);
        QCOMPARE(Text(2, 1), u"08:30"_s);
        Key(Qt::Key_Space);
        QCOMPARE(Text(2, 1), u"09:00"_s);

        Keys(u"2345+"_s); // a step leaves the entry fresh
        QCOMPARE(Text(2, 1), u"23:45"_s);
        Keys(u"20-"_s);
        QCOMPARE(Text(2, 1), u""_s);
        Keys(u"2500"_s);
        QCOMPARE(Text(2, 1), u"25:00"_s);
        QCOMPARE(Store->EventAtRow(1)->Time, 2500);

        // The grid stays on its cell: no jumping to a row by what was typed.
        QCOMPARE(Page->GridRow(), 1);
        QCOMPARE(Page->GridColumn(), 2);
    }

    void aClickOnTheFocusedTimeStartsANewTime()
    {
        Type(2, 1, u"930"_s);
        Click(2, 1);
        Keys(u"1000"_s);
        QCOMPARE(Text(2, 1), u"10:00"_s);
    }

    void backspaceClearsAFreshTimeOrDropsADigit()
    {
        Type(2, 2, u"1745"_s);
        Click(3, 2);
        Click(2, 2);
        QVERIFY(Page->TimeEntryFresh());
        Key(Qt::Key_Backspace);
        QCOMPARE(Text(2, 2), u""_s);
        Keys(u"123"_s);
        QCOMPARE(Text(2, 2), u"01:23"_s);
        Key(Qt::Key_Backspace);
        QCOMPARE(Text(2, 2), u"00:12"_s);
    }

    void aTypedTimeThatIsNoTimeOfDayIsRefusedUntilCorrectedOrGivenUp()
    {
        Type(2, 1, u"0800"_s);
        Key(Qt::Key_Right);
        struct TCase {
            QString Keys;
            QString Shown;
            QString Why;
            Qt::Key Leave;
        };
        const TCase cases[] = { { u"1275"_s, u"12:75"_s, u"minutes go up to 59"_s, Qt::Key_Down },
            { u"2500"_s, u"25:00"_s, u"hours go up to 23"_s, Qt::Key_Left },
            { u"99999"_s, u"99:99"_s, u"hours go up to 23"_s, Qt::Key_Tab } };
        for (const TCase& c : cases) {
            Type(2, 1, c.Keys);
            Key(c.Leave);
            QTRY_VERIFY(QToolTip::isVisible() && QToolTip::text().contains(c.Why));
            QCOMPARE(Page->GridRow(), 1);
            QCOMPARE(Page->GridColumn(), 2);
            QCOMPARE(Text(2, 1), c.Shown);
            QVERIFY(Model()->index(0, 2).data(Qt::ForegroundRole).isValid());
            Key(Qt::Key_Escape);
            QCOMPARE(Text(2, 1), u"08:00"_s);
            QTRY_VERIFY(!QToolTip::isVisible());
        }
        // Corrected in the cell it was refused in, then left.
        Type(2, 1, u"1275"_s);
        Click(3, 2);
        QTRY_COMPARE(Page->GridColumn(), 2);
        Keys(u"1215"_s);
        Key(Qt::Key_Right);
        QTest::qWait(1);
        QCOMPARE(Page->GridColumn(), 3);
        QCOMPARE(Store->EventAtRow(1)->Time, 1215);
        // Leaving the day gives the old time back, and keeps a time of day.
        Type(2, 1, u"0975"_s);
        Page->EndEditing();
        QCOMPARE(Store->EventAtRow(1)->Time, 1215);
        Keys(u"945"_s);
        Page->EndEditing();
        QCOMPARE(Store->EventAtRow(1)->Time, 945);
        // Letters are no part of a time, and are said to be so.
        QToolTip::hideText();
        Type(2, 2, u"930pm"_s);
        QCOMPARE(Text(2, 2), u"09:30"_s);
        QTRY_VERIFY(QToolTip::isVisible() && QToolTip::text().contains(u"digits"_s));
    }

    void aTimeTheClockNeverShowsIsPointedOut()
    {
        // Read so from the file, not typed: pointed out, never refused.
        Store->EventAtRow(1)->Time = 1275;
        Store->EventAtRow(1)->Description = "odd";
        Page->RepaintGrid();
        Click(2, 1);
        QCOMPARE(Text(2, 1), u"12:75"_s);
        const QModelIndex cell = Model()->index(0, 2);
        QVERIFY(cell.data(Qt::ForegroundRole).isValid());
        // Hovering shows the warning over that time, the grid's hint elsewhere.
        const auto hint = [this](int column) {
            const QPoint at = CellCentre(column, 1);
            QHelpEvent help(QEvent::ToolTip, at, Grid()->viewport()->mapToGlobal(at));
            QApplication::sendEvent(Grid()->viewport(), &help);
            const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
            QToolTip::hideText();
            return text;
        };
        QCOMPARE(hint(2), TDiaryGridModel::ImpossibleTimeText());
        QCOMPARE(hint(3), Grid()->toolTip());
        QTRY_VERIFY(!QToolTip::isVisible());
        Key(Qt::Key_Right); // leaving the cell says so
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), TDiaryGridModel::ImpossibleTimeText());
        QToolTip::hideText();

        Type(2, 1, u"1215"_s);
        QVERIFY(!cell.data(Qt::ToolTipRole).isValid());
        QVERIFY(!cell.data(Qt::ForegroundRole).isValid());
        QTRY_VERIFY(!QToolTip::isVisible());
        Key(Qt::Key_Right);
        QVERIFY(!QToolTip::isVisible());
    }

    void textOfEveryLanguageIsKept()
    {
        // Typed into the grid, into the open editor, or pasted: kept whole.
        Type(3, 1, u"Caf"_s);
        auto* editor = Grid()->findChild<QLineEdit*>();
        TypeText(editor, u"é Zürich 10€ Łódź 東京 😀"_s);
        QCOMPARE(Store->EventAtRow(1)->Description, "Café Zürich 10€ Łódź 東京 😀");
        QCOMPARE(Model()->index(0, 3).data().toString(), u"Café Zürich 10€ Łódź 東京 😀"_s);
        Page->EndEditing();
        // A first character beyond ASCII makes the new event an alarm too.
        Click(3, 2);
        TypeText(Grid(), u"Ł"_s);
        QCOMPARE(Store->EventAtRow(2)->EventType, etAlarm);
        Page->EndEditing();
        Click(3, 3);
        Clipboard.SetText(u"ok Łódź 東京 😀"_s);
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Store->EventAtRow(3)->Description, "ok Łódź 東京 😀");
        QVERIFY(Dialogues.Errors.isEmpty());
    }

    void typingADescriptionMakesAnAlarmAndWritesThrough()
    {
        Type(3, 1, u"Dentist"_s);
        QVERIFY(Grid()->findChild<QLineEdit*>());
        QCOMPARE(Store->EventAtRow(1)->Description, "Dentist"); // stored while typing
        QCOMPARE(Image(1, 1), 1);

        // Typing in the middle keeps the caret where it is.
        QTest::keyClick(Grid()->findChild<QLineEdit*>(), Qt::Key_Home);
        QTest::keyClicks(Grid()->findChild<QLineEdit*>(), u"My "_s);
        QCOMPARE(Store->EventAtRow(1)->Description, "My Dentist");
        Page->EndEditing();
        QVERIFY(!Grid()->findChild<QLineEdit*>() || !Grid()->findChild<QLineEdit*>()->isVisible());
        QCOMPARE(Text(3, 1), u"My Dentist"_s);

        // A row already made "Done" stays so.
        Click(1, 2);
        Keys(u"  "_s);
        QCOMPARE(Image(1, 2), 2);
        Type(3, 2, u"Pay"_s);
        Page->EndEditing();
        QCOMPARE(Image(1, 2), 2);

        // A key typed on a description starts it over; the type stays.
        Click(2, 1);
        Type(3, 1, u"X"_s);
        QCOMPARE(Image(1, 1), 1);
        Page->EndEditing();
        QCOMPARE(Text(3, 1), u"X"_s);
        // A click on the focused description opens it for adding to, keys
        // typed at once included; so does Return.
        Append(1, u"Y"_s);
        Page->EndEditing();
        QCOMPARE(Text(3, 1), u"XY"_s);
        Grid()->setFocus();
        Key(Qt::Key_Return);
        Keys(u"Z"_s);
        Key(Qt::Key_Return);
        QCOMPARE(Text(3, 1), u"XYZ"_s);
        QTRY_COMPARE(QApplication::focusWidget(), Grid());
    }

    void spaceAndDeleteWorkOnEachColumn()
    {
        Click(0, 1);
        Key(Qt::Key_Space);
        QCOMPARE(Image(0, 1), 0);
        Key(Qt::Key_Space);
        QCOMPARE(Image(0, 1), -1);
        Key(Qt::Key_Space);
        Key(Qt::Key_Delete);
        QCOMPARE(Image(0, 1), -1);

        Click(1, 1);
        QStringList images;
        for (int i = 0; i < 4; ++i) {
            Key(Qt::Key_Space);
            images << QString::number(Image(1, 1));
        }
        QCOMPARE(images.join(u','), u"1,2,3,-1"_s);
        Key(Qt::Key_Space);
        Key(Qt::Key_Delete);
        QCOMPARE(Image(1, 1), -1);

        Type(2, 1, u"915"_s);
        Key(Qt::Key_Delete);
        QCOMPARE(Text(2, 1), u""_s);

        Type(3, 1, u"Walk"_s);
        QTest::keyClick(Grid()->findChild<QLineEdit*>(), Qt::Key_Delete); // inside the editor
        QCOMPARE(Store->EventAtRow(1)->Description, "Walk");
        Page->EndEditing();
        Grid()->setFocus();
        Key(Qt::Key_Delete);
        QCOMPARE(Text(3, 1), u""_s);
    }

    void doubleClicksAndTheEventTypeMenu()
    {
        QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(0, 2));
        QCOMPARE(Image(0, 2), 0);
        Type(2, 2, u"945"_s);
        QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(2, 2));
        QCOMPARE(Text(2, 2), u"10:00"_s);
        QVERIFY(Page->TimeEntryFresh());

        QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(1, 2));
        QMenu* menu = Menu(u"pmEventType"_s);
        QVERIFY(menu->isVisible());
        const QRect cell = Grid()->visualRect(Model()->index(1, 1));
        QCOMPARE(menu->pos(), Grid()->viewport()->mapToGlobal(cell.bottomLeft()));
        menu->hide();
        Action(u"mEventCrossed"_s)->trigger();
        QCOMPARE(Image(1, 2), 3);
        Action(u"mEventBlank"_s)->trigger();
        QCOMPARE(Image(1, 2), -1);
    }

    void rightClicksOpenTheMenuOnEventRowsOnly()
    {
        QMenu* menu = Menu(u"pmDiary"_s);
        QHeaderView* header = Grid()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::RightButton, {},
            QPoint(header->sectionViewportPosition(3) + 20, header->height() / 2));
        QVERIFY(!menu->isVisible());

        Click(3, 4, Qt::RightButton);
        QVERIFY(menu->isVisible());
        QCOMPARE(Page->GridRow(), 4);
        QCOMPARE(Page->GridColumn(), 3);
        menu->hide();
    }

    void calendarDaysShowTodayWindowAndEvents()
    {
        QVERIFY(DayStyle(2025, 3, 5).Underline);
        QVERIFY(!DayStyle(2025, 3, 6).Underline);
        QVERIFY(DayStyle(2025, 1, 20).Italic);
        QVERIFY(!DayStyle(2025, 2, 20).Italic);
        QVERIFY(DayStyle(2026, 2, 1).Italic);
        QVERIFY(!DayStyle(2026, 1, 31).Italic);

        Add(4, 1, 0, "Called off", etCrossed);
        QVERIFY(DayStyle(2025, 4, 1).Bold);
        Add(1, 5, 0, "Last January"); // a slot outside the window is never bold
        QVERIFY(DayStyle(2025, 1, 5).Italic);
        QVERIFY(!DayStyle(2025, 1, 5).Bold);

        // A day shown in the grid and left empty is not bold; a typed one is,
        // once it has been left.
        Choose(2025, 4, 2);
        Click(3, 3);
        Choose(2025, 4, 3);
        QVERIFY(!DayStyle(2025, 4, 2).Bold);
        Type(3, 1, u"Haircut"_s);
        QVERIFY(!DayStyle(2025, 4, 3).Bold);
        Choose(2025, 4, 4);
        QVERIFY(DayStyle(2025, 4, 3).Bold);
        const TFontStyles today = DayStyle(2025, 3, 5);
        QVERIFY(today.Underline && !today.Bold && !today.Italic);
    }

    void theGridHidesOutsideTheWindow()
    {
        Choose(2025, 1, 31);
        QVERIFY(Grid()->isHidden());
        Choose(2025, 2, 1);
        QVERIFY(!Grid()->isHidden());
        QCOMPARE(Page->GridRow(), 1);
        Type(3, 1, u"Visible"_s);
        Choose(2026, 2, 1); // leaving with the editor open keeps the text
        QVERIFY(Grid()->isHidden());
        QCOMPARE(Day(2, 1), std::vector<std::string> { "0/1/0/Visible" });
    }

    void theHeaderShowsTheChosenDateUnderlinedOnlyToday()
    {
        const auto date = [this] { return Model()->headerData(3, Qt::Horizontal).toString(); };
        const auto underlined = [this] {
            return Model()->headerData(3, Qt::Horizontal, TDiaryGridModel::UnderlineRole).toBool();
        };
        QCOMPARE(date(), QLocale().toString(QDate(2025, 3, 5), u"ddd, d MMM yyyy"_s));
        QVERIFY(underlined());
        Choose(2025, 3, 6);
        QCOMPARE(date(), QLocale().toString(QDate(2025, 3, 6), u"ddd, d MMM yyyy"_s));
        QVERIFY(!underlined());
        QCOMPARE(Model()->headerData(2, Qt::Horizontal).toString(), u"Time"_s);
        QVERIFY(Model()->headerData(2, Qt::Horizontal, TDiaryGridModel::BoldRole).toBool());
        QCOMPARE(Model()->headerData(0, Qt::Horizontal, TDiaryGridModel::ImageRole).toInt(), 0);
        QCOMPARE(Model()->headerData(1, Qt::Horizontal, TDiaryGridModel::ImageRole).toInt(), 1);
    }

    void aCrowdedDayShowsItsFirst23Events()
    {
        for (int i = 0; i < 25; ++i)
            Add(3, 20, uint16_t(100 + i), "Event " + std::to_string(i + 1));
        Choose(2025, 3, 20);
        QCOMPARE(Text(3, 1), u"Event 1"_s);
        QCOMPARE(Text(3, 23), u"Event 23"_s);
        Grid()->scrollToBottom();
        Append(23, u"!"_s);
        Page->EndEditing();
        Choose(2025, 3, 21);
        QCOMPARE(Day(3, 20).size(), size_t(25));
        QCOMPARE(Day(3, 20)[22], "0/1/122/Event 23!");
        QCOMPARE(Day(3, 20)[24], "0/1/124/Event 25");
    }

    void theOverdueCountFollowsTheChosenDay()
    {
        Type(2, 1, u"1100"_s);
        Type(3, 1, u"Late"_s);
        Page->EndEditing();
        Choose(2025, 3, 6);
        QCOMPARE(StatusText, u"1 Overdue Events"_s);
    }

    void purgedEventsOpenInTheDesktopsViewerOrInOurOwn()
    {
        Page->MenuDiaryOldClick();
        QVERIFY(Desktop.Opened.isEmpty());
        QCOMPARE(Dialogues.Infos,
            QStringList { u"No events have been purged yet: there is no \"DiaryOld.txt\"."_s });
        std::ofstream(FolderPath() / "DiaryOld.txt") << "05 Jan 2024\t09:30\tAlarm\tCaf\xE9\r\n";
        Page->MenuDiaryOldClick();
        QCOMPARE(Desktop.Opened, QStringList { Folder->filePath(u"DiaryOld.txt"_s) });
        QVERIFY(!Page->findChild<TTextViewer*>());

        Desktop.HasViewer = false;
        Page->MenuDiaryOldClick();
        auto* viewer = Page->findChild<TTextViewer*>();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), u"DiaryOld.txt"_s);
        QCOMPARE(viewer->Text(), u"05 Jan 2024\t09:30\tAlarm\tCaf\u00E9\n"_s);
        QVERIFY(viewer->findChild<QPlainTextEdit*>()->isReadOnly());
        QCOMPARE(Dialogues.Errors, QStringList {});
    }

    void settingsFontSizesRowsAndHeaderAlike()
    {
        TSettings settings;
        settings.SettingsFont.Size = 14;
        TApplyTargets targets;
        targets.DiaryGrid = Grid();
        QColor colour;
        targets.SetCalendarColour = [this, &colour](const QColor& c) {
            Page->SetCalendarColour(c);
            colour = c;
        };
        // Set while the page is hidden, the font is fitted as the page shows.
        Page->hide();
        ApplySettings(settings, targets);
        Page->show();
        const int height = GridRowHeight(Grid()->font(), Grid()->logicalDpiY());
        QCOMPARE(Grid()->rowHeight(5), height);
        QTRY_COMPARE(Grid()->horizontalHeader()->height(), height);
        QCOMPARE(Page->CalendarControl()->CalColor(), colour);
        QFont bold = Grid()->font();
        bold.setBold(true);
        QVERIFY(Grid()->columnWidth(2) >= QFontMetrics(bold).horizontalAdvance(u"00:00"_s) + 5);
    }

    void theTodayGlyphFollowsTheSetting()
    {
        auto* today = Page->findChild<QPushButton*>(u"TodayButton"_s);
        const auto picture = [today] { return today->icon().pixmap(16).toImage(); };
        QCOMPARE(picture(), TImageLists::DatedPage(5).toImage());
        Page->SetTodayGlyph(std::nullopt);
        QCOMPARE(picture(), TImageLists::Calendar(TImageLists::ciEmptyPage).toImage());
        Page->SetTodayGlyph(17);
        QCOMPARE(picture(), TImageLists::DatedPage(17).toImage());
    }

    void thePageLaysOutCleanlyAtBothSizes()
    {
        Add(3, 5, 830, "Dentist", etTicked, 1);
        Add(3, 5, 1275, "A time that never comes");
        Add(3, 5, 1800, "Gym", etCrossed);
        Add(3, 12, 900, "Board meeting");
        Page->TodayButtonClick();
        Click(3, 2);
        for (const QSize size : { QSize(560, 380), QSize(1000, 700) }) {
            Page->resize(size);
            QTest::qWait(20);
            auto* panel = Page->findChild<QWidget*>(u"CalendarPanel"_s);
            TSimpleCalendar* calendar = Page->CalendarControl();
            QCOMPARE(calendar->pos(), QPoint(4, 4));
            QVERIFY(panel->height() >= 141);
            auto* column = Page->findChild<QWidget*>(u"CalendarButtons"_s);
            QVERIFY(column->width() >= 61);
            QCOMPARE(column->geometry().right(), panel->width() - 1 - 4);
            QCOMPARE(calendar->geometry().bottom(), panel->height() - 1 - 4);
            // A whole month fits; the extra height goes to the grid, the extra
            // width to the calendar.
            QCOMPARE(panel->height(), std::max(137, calendar->sizeHint().height()) + 8);
            QCOMPARE(panel->minimumHeight(), panel->height());
            const TCivilDate first = DecodeDate(calendar->FirstMonth());
            const TCivilDate last = DecodeDate(calendar->ShownEnd() - 1);
            const int months = (last.Year - first.Year) * 12 + last.Month - first.Month + 1;
            QVERIFY2(months >= size.width() / 250, qPrintable(QString::number(months)));
            QCOMPARE(calendar->width(), panel->width() - column->width() - 3 * 4);
            const QByteArray dir = qgetenv("TALVO_GRAB_DIR");
            if (!dir.isEmpty())
                Page->grab().save(QString::fromLocal8Bit(dir)
                    + u"/CalendarPage-%1x%2.png"_s.arg(size.width()).arg(size.height()));
        }
    }
};

QTEST_MAIN(TestCalendarPage)
#include "tst_CalendarPage.moc"
