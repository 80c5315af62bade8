#include "FakeShell.h"
#include "alarms/AlarmForm.h"
#include "alarms/AlarmPopups.h"
#include "app/TrayController.h"
#include "diary/CalendarPage.h"

#include <QAction>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// An alarm on the diary's day and time, at the end of its day's list.
void AddAlarm(TTalvoForm& form, int month, int day, uint16_t time, const char* text)
{
    TEventLink& end = ListEnd(form.Diary().DiaryDays[DayIndex(month, day)]);
    end = NewEvent();
    end->EventType = etAlarm;
    end->Time = time;
    end->Description = text;
}

} // namespace

// The main window's alarms: running on without a tray, acknowledging, and
// the day of an alarm shown.
class TestTalvoFormAlarms : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void withoutATrayClosingKeepsRunningOnlyWhileAnAlarmLiesAheadAndSaysSoOnce()
    {
        const struct {
            const char* Name;
            bool TrayShown, AlarmAhead, Background, NoTray, Runs;
        } cases[] = {
            { "alarm ahead", false, true, true, false, true },
            { "nothing ahead", false, false, true, false, false },
            { "background off", false, true, false, false, false },
            { "-NOTRAY", false, true, true, true, false },
            { "a tray", true, true, true, false, true },
        };
        for (const auto& test : cases) {
            TFakeShell shell;
            shell.Tray.Available = test.TrayShown;
            if (!test.Background)
                shell.StoredSettings["Background"] = std::string("0");
            auto form = shell.Start(test.NoTray ? QStringList { u"-NOTRAY"_s } : QStringList());
            form->show();
            AddAlarm(*form, 12, 7, 915, "Passed already");
            AddAlarm(*form, 12, 6, 1000, "Yesterday");
            if (test.AlarmAhead)
                AddAlarm(*form, 1, 3, 800, "Dentist \xE0 Z\xFCrich");
            QSignalSpy exited(form.get(), &TTalvoForm::ExitRequested);
            form->close();
            QCOMPARE(exited.isEmpty(), test.Runs);
            QCOMPARE(form->isVisible(), false);
            QCOMPARE(form->HiddenInTray(), test.Runs);
            const bool told = test.Runs && !test.TrayShown;
            QCOMPARE(shell.Dialogues.Infos.size(), told ? 1 : 0);
            if (!told)
                continue;
            QVERIFY(shell.Dialogues.Infos.front().contains(u"Exit"_s));
            QCOMPARE(shell.Stored("BackgroundTold"), "1");
            // Said once: the next time it goes quietly.
            form->RestoreFromTray();
            QVERIFY(form->isVisible());
            form->close();
            QVERIFY(form->HiddenInTray());
            QCOMPARE(shell.Dialogues.Infos.size(), 1);
        }
    }

    void startedHiddenWithoutATrayItStaysHiddenWhileAnAlarmLiesAhead()
    {
        for (const bool ahead : { true, false }) {
            TFakeShell shell;
            shell.Tray.Available = false;
            auto form = shell.Start({ u"--hidden"_s });
            if (ahead)
                AddAlarm(*form, 12, 24, 1800, "Carols");
            form->ShowAtStart();
            const int waited = TTalvoForm::TrayWaits * TTalvoForm::TrayWaitInterval;
            QTRY_VERIFY_WITH_TIMEOUT(form->isVisible() || form->HiddenInTray(), 2 * waited);
            QCOMPARE(form->HiddenInTray(), ahead);
            QCOMPARE(form->isVisible(), !ahead);
        }
    }

    void acknowledgingClosesTheAlarmsNotesAndTheirDayShowsOnRequest()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        AddAlarm(*form, 12, 7, 1000, "Call Bob");
        AddAlarm(*form, 12, 7, 1000, "Dentist");
        shell.Clock.Set(EncodeDate(2026, 12, 7) + EncodeTime(10, 0, 5));
        form->SecondTimer();
        const std::vector<TAlarmForm*> notes = form->Popups().Notes();
        QCOMPARE(notes.size(), 2u);
        QPointer<TAlarmForm> first = notes.front();
        QVERIFY(form->Tray().Acknowledge->isEnabled());
        form->Tray().Acknowledge->trigger();
        QTRY_VERIFY(first.isNull());
        QVERIFY(form->Popups().Notes().empty());
        QVERIFY(!form->Tick().AlarmPending());

        form->hide();
        const TAlarmEvent dentist { static_cast<int32_t>(EncodeDate(2026, 12, 7)), 1000,
            "Dentist" };
        Q_EMIT form->Popups().ShowRequested(dentist);
        QVERIFY(form->isVisible());
        QCOMPARE(form->findChild<QTabWidget*>(u"PageControl"_s)->currentIndex(),
            int(TTalvoForm::CalendarPageIndex));
        QCOMPARE(form->Diary().SelectedDay, DayIndex(12, 7));
        // The second event of the day (the grid's header row is not a row of its model).
        QCOMPARE(form->CalendarPage()->Grid()->currentIndex().row(), 1);
        Q_EMIT form->Popups().ShowRequested({ dentist.Day, 1000, "Call Bob" });
        QCOMPARE(form->CalendarPage()->Grid()->currentIndex().row(), 0);
    }
};

QTEST_MAIN(TestTalvoFormAlarms)
#include "tst_TalvoFormAlarms.moc"
