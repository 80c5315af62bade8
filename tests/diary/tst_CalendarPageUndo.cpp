#include "CalendarPageFixture.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

// Undo and redo on the real page, by keys and by the pop-up menu: each step
// goes back to its day and row, and the purge stops the history.
class TestCalendarPageUndo : public QObject, private TCalendarPageFixture
{
    Q_OBJECT

    void Undo() { Key(Qt::Key_Z, Qt::ControlModifier); }
    void Redo(bool byY = false)
    {
        if (byY)
            Key(Qt::Key_Y, Qt::ControlModifier);
        else
            Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }
    QString MenuText(const QString& name) { return Action(name)->text(); }

private Q_SLOTS:
    void init() { QVERIFY(Start()); }
    void cleanup() { Stop(); }

    void typingInACellIsOneStepUndoneAndRedoneByKeys()
    {
        Add(3, 5, 800, "Stand-up");
        Page->TodayButtonClick();
        Type(3, 2, u"Caf"_s);
        Key(Qt::Key_Return);
        Type(2, 2, u"1745"_s);
        QCOMPARE(MenuText(u"mDUndo"_s), u"Undo Typing"_s);
        QCOMPARE(History.count(), 2);

        Undo();
        QCOMPARE(Text(2, 2), u""_s);
        QCOMPARE(Text(3, 2), u"Caf"_s);
        Undo();
        QCOMPARE(Text(3, 2), u""_s);
        QCOMPARE(Text(3, 1), u"Stand-up"_s);
        QVERIFY(!Action(u"mDUndo"_s)->isEnabled());
        QCOMPARE(MenuText(u"mDRedo"_s), u"Redo Typing"_s);

        Redo();
        QCOMPARE(Text(3, 2), u"Caf"_s);
        Redo(true);
        QCOMPARE(Text(2, 2), u"17:45"_s);
        Choose(2025, 3, 6);
        QCOMPARE(Day(3, 5), (std::vector<std::string> { "0/1/800/Stand-up", "0/1/1745/Caf" }));
    }

    void undoGoesBackToTheStepsDayAndRow()
    {
        Add(4, 17, 930, "Dentist é");
        Add(4, 17, 1200, "Lunch");
        Choose(2025, 4, 17);
        Click(3, 2);
        Key(Qt::Key_Delete);
        QCOMPARE(MenuText(u"mDUndo"_s), u"Undo Delete"_s);
        Choose(2025, 6, 1);
        Click(0, 1);

        MenuCommand(0, 1, u"mDUndo"_s);
        QCOMPARE(DateOf(Page->CalendarControl()->Date()), EncodeDate(2025, 4, 17));
        QCOMPARE(Page->GridRow(), 2);
        QCOMPARE(Page->GridColumn(), 3);
        QCOMPARE(Text(3, 2), u"Lunch"_s);
        MenuCommand(0, 1, u"mDRedo"_s);
        QCOMPARE(Text(3, 2), u""_s);
    }

    void pasteAndClearAlikeAreUndoneAcrossEveryDayTheyChanged()
    {
        QSignalSpy status(Page.get(), &TCalendarPage::StatusMessage);
        Add(3, 5, 1800, "Gym");
        Add(3, 12, 1800, "Gym", etTicked, 1);
        Add(3, 12, 1800, "gym");
        Add(12, 31, 1800, "Gym");
        Page->TodayButtonClick();
        Clipboard.SetText(u"1\t3\t0700\tSwim  "_s);
        MenuCommand(3, 2, u"mDPaste"_s);
        QCOMPARE(MenuText(u"mDUndo"_s), u"Undo Paste Event"_s);
        MenuCommand(3, 1, u"mDClearAlike"_s);
        QCOMPARE(status.size(), 1);
        QCOMPARE(status.front().front().toString(),
            u"Clear Alike deleted 3 events. Ctrl+Z undoes it."_s);
        QCOMPARE(MenuText(u"mDUndo"_s), u"Undo Clear Alike"_s);
        QCOMPARE(Day(12, 31), std::vector<std::string> {});

        Choose(2025, 8, 1);
        Undo();
        QCOMPARE(DateOf(Page->CalendarControl()->Date()), EncodeDate(2025, 3, 5));
        QCOMPARE(Day(12, 31), std::vector<std::string> { "0/1/1800/Gym" });
        QCOMPARE(Day(3, 12), (std::vector<std::string> { "1/2/1800/Gym", "0/1/1800/gym" }));
        QVERIFY(DayStyle(2025, 12, 31).Bold);
        QVERIFY(status.back().front().toString().startsWith(u"Undone: Clear Alike on 3 days"_s));
        Undo();
        Choose(2025, 3, 6);
        QCOMPARE(Day(3, 5), std::vector<std::string> { "0/1/1800/Gym" });

        Redo();
        Redo();
        QCOMPARE(Day(12, 31), std::vector<std::string> {});
        Choose(2025, 3, 7);
        QCOMPARE(Day(3, 5), std::vector<std::string> { "1/3/700/Swim" });
    }

    void repeatWeeklyUndoneLeavesNoCopies()
    {
        QSignalSpy status(Page.get(), &TCalendarPage::StatusMessage);
        Add(3, 3, 615, "Run 5 km");
        Choose(2025, 3, 3);
        MenuCommand(3, 1, u"mDRepeatWeekly"_s);
        QCOMPARE(status.front().front().toString(),
            u"Repeat Weekly added 47 events. Ctrl+Z undoes it."_s);
        QVERIFY(DayStyle(2026, 1, 26).Bold);
        Undo();
        QVERIFY(!DayStyle(2026, 1, 26).Bold);
        QCOMPARE(Day(3, 10), std::vector<std::string> {});
    }

    void thePurgeStopsTheHistoryWithAWord()
    {
        Page->TodayButtonClick();
        Type(3, 1, u"Before the purge"_s);
        Click(0, 1);
        Page->MarkPurge();
        QCOMPARE(MenuText(u"mDUndo"_s), u"Undo Purge"_s);
        Undo();
        QCOMPARE(Dialogues.Infos.size(), 1);
        QVERIFY(Dialogues.Infos.front().contains(u"DiaryOld.txt"_s));
        QCOMPARE(Text(3, 1), u"Before the purge"_s);

        // A day changed behind the history's back refuses the step over it.
        Type(3, 2, u"x"_s);
        Click(0, 2);
        Store->EventAtRow(2)->Description = "changed elsewhere";
        Undo();
        QCOMPARE(Dialogues.Errors.size(), 1);
        QCOMPARE(Text(3, 2), u"changed elsewhere"_s);
    }
};

QTEST_MAIN(TestCalendarPageUndo)
#include "tst_CalendarPageUndo.moc"
