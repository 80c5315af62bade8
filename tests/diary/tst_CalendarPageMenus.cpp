#include "CalendarPageFixture.h"

using namespace Qt::StringLiterals;

// The diary grid's pop-up menu on the real page: the clipboard between days
// and the two edits that reach across the months.
class TestCalendarPageMenus : public QObject, private TCalendarPageFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(Start()); }
    void cleanup() { Stop(); }

    void theMenuKeyOpensTheMenuForTheCurrentCellAndNoOtherKeyDoes()
    {
        Add(3, 5, 930, "Pay rent");
        Page->TodayButtonClick();
        QMenu* menu = Menu(u"pmDiary"_s);
        Grid()->setCurrentIndex(Model()->index(0, 3));
        Grid()->setFocus();
        QTest::keyClick(Grid(), Qt::Key_Menu, Qt::KeypadModifier);
        QVERIFY(menu->isVisible());
        menu->hide();
        Action(u"mDCopyEvent"_s)->trigger();
        QCOMPARE(Clipboard.Text(), u"0\t1\t0930\tPay rent"_s);
        for (const auto& [key, modifiers] : { std::pair { Qt::Key_F10, Qt::KeyboardModifiers() },
                 std::pair { Qt::Key_F10, Qt::KeyboardModifiers(Qt::ControlModifier) },
                 std::pair { Qt::Key_Menu, Qt::KeyboardModifiers(Qt::AltModifier) } }) {
            QTest::keyClick(Grid(), key, modifiers);
            QVERIFY(!menu->isVisible());
        }
    }

    void anEventTravelsBetweenDaysByCopyEventAndPaste()
    {
        Add(3, 5, 930, "Pay rent", etTicked);
        Page->TodayButtonClick();
        MenuCommand(1, 1, u"mDCopyEvent"_s);
        QCOMPARE(Clipboard.Text(), u"0\t2\t0930\tPay rent"_s);

        Choose(2025, 4, 17);
        MenuCommand(2, 3, u"mDPaste"_s); // any column, any empty row
        QCOMPARE(Text(2, 3), u"09:30"_s);
        QCOMPARE(Text(3, 3), u"Pay rent"_s);
        QCOMPARE(Image(1, 3), 2);
        Choose(2025, 4, 18);
        QCOMPARE(Day(4, 17), std::vector<std::string> { "0/2/930/Pay rent" });
        QCOMPARE(Day(3, 5), std::vector<std::string> { "0/2/930/Pay rent" });
    }

    void cutCopyAndPasteWorkOnTheFocusedColumn()
    {
        Add(3, 5, 705, "Swim", etAlarm, 1);
        Add(3, 5, 1200, "Lunch");
        Page->TodayButtonClick();
        MenuCommand(2, 1, u"mDCopy"_s);
        QCOMPARE(Clipboard.Text(), u"0705"_s);
        MenuCommand(2, 2, u"mDPaste"_s);
        QCOMPARE(Text(2, 2), u"07:05"_s);
        Clipboard.SetText(u"705"_s);
        MenuCommand(2, 2, u"mDCut"_s);
        QCOMPARE(Clipboard.Text(), u"0705"_s);
        QCOMPARE(Text(2, 2), u""_s);
        Clipboard.SetText(u"705"_s);
        MenuCommand(2, 2, u"mDPaste"_s);
        QCOMPARE(Text(2, 2), u""_s);

        MenuCommand(0, 1, u"mDCopy"_s);
        QCOMPARE(Clipboard.Text(), u"1"_s);
        MenuCommand(0, 2, u"mDPaste"_s);
        QCOMPARE(Image(0, 2), 0);
        Clipboard.SetText(u"yes"_s);
        MenuCommand(0, 2, u"mDPaste"_s);
        QCOMPARE(Image(0, 2), -1);

        // Typed keys reach the same commands, through the program's clipboard.
        Click(3, 1);
        Key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard.Text(), u"Swim"_s);
        Click(3, 4);
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Text(3, 4), u"Swim"_s);

        // A cut description is gone once the day is left.
        MenuCommand(3, 2, u"mDCut"_s);
        QCOMPARE(Clipboard.Text(), u"Lunch"_s);
        Choose(2025, 3, 6);
        QCOMPARE(Day(3, 5), (std::vector<std::string> { "0/0/0/Swim", "1/1/705/Swim" }));
    }

    void pasteWhileEditingIsNotUndoneByTheEditor()
    {
        Clipboard.SetText(u"From the clipboard\r\nsecond line"_s);
        Type(3, 1, u"Typed"_s);
        MenuCommand(3, 1, u"mDPaste"_s);
        QCOMPARE(Text(3, 1), u"From the clipboard"_s);
        Choose(2025, 3, 6);
        QCOMPARE(Day(3, 5), std::vector<std::string> { "0/1/0/From the clipboard" });
    }

    void repeatWeeklyFillsTheLaterMondaysOfTheWindow()
    {
        Choose(2025, 3, 3);
        Type(3, 1, u"Gym"_s);
        Type(2, 1, u"1800"_s);
        Click(0, 1);
        Key(Qt::Key_Space);
        MenuCommand(3, 1, u"mDRepeatWeekly"_s);

        QVERIFY(!DayStyle(2025, 3, 3).Bold); // not committed yet
        QVERIFY(DayStyle(2025, 3, 10).Bold);
        QVERIFY(DayStyle(2025, 4, 28).Bold);
        QVERIFY(DayStyle(2026, 1, 26).Bold);
        QVERIFY(!DayStyle(2025, 3, 11).Bold);
        QCOMPARE(Day(6, 30), std::vector<std::string> { "0/1/1800/Gym" });
        QCOMPARE(Day(2, 24), std::vector<std::string> {});
        QCOMPARE(Text(3, 1), u"Gym"_s);
        QCOMPARE(Image(0, 1), 0);
    }

    void clearAlikeDeletesFromTheChosenDayAcrossMonths()
    {
        Add(3, 4, 1800, "Gym");
        Add(3, 12, 1800, "Gym", etTicked);
        Add(3, 12, 1800, "gym");
        Add(5, 7, 1800, "Gym", etCrossed, 1);
        Add(5, 7, 1830, "Gym");
        Add(12, 31, 1800, "Gym");
        Choose(2025, 3, 5);
        Type(3, 1, u"Gym"_s);
        Type(2, 1, u"1800"_s);
        Type(3, 2, u"Stays"_s);
        MenuCommand(3, 1, u"mDClearAlike"_s);

        QCOMPARE(Text(3, 1), u"Stays"_s);
        QCOMPARE(Day(3, 4), std::vector<std::string> { "0/1/1800/Gym" });
        QCOMPARE(Day(3, 12), std::vector<std::string> { "0/1/1800/gym" });
        QCOMPARE(Day(5, 7), std::vector<std::string> { "0/1/1830/Gym" });
        QCOMPARE(Day(12, 31), std::vector<std::string> {});
        QVERIFY(!DayStyle(2025, 12, 31).Bold);
        QVERIFY(DayStyle(2025, 3, 5).Bold);
    }

    void theCommandsRecountTheOverdueAlarms()
    {
        Add(2, 10, 900, "Weekly call");
        Add(2, 17, 900, "Weekly call");
        Add(2, 24, 900, "Weekly call");
        Add(3, 3, 900, "Weekly call");
        Page->TodayButtonClick();
        QCOMPARE(StatusText, u"4 Overdue Events"_s);
        Choose(2025, 2, 17);
        MenuCommand(3, 1, u"mDClearAlike"_s);
        QCOMPARE(StatusText, u"1 Overdue Events"_s);
        Choose(2025, 2, 10);
        MenuCommand(3, 1, u"mDRepeatWeekly"_s);
        QCOMPARE(StatusText, u"4 Overdue Events"_s);
    }
};

QTEST_MAIN(TestCalendarPageMenus)
#include "tst_CalendarPageMenus.moc"
