#include "FakeShell.h"
#include "app/TrayController.h"
#include "diary/CalendarPage.h"
#include "diary/DiaryFile.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The diary's calendar files as the user meets them: the tray menu's items,
// the question before an import, and the command line.
class TestIcsFiles : public QObject
{
    Q_OBJECT

private:
    // The diary's text as a save would write it now.
    static QByteArray DiaryText(TTalvoForm& form)
    {
        form.Diary().CommitSelectedDay();
        return QByteArray::fromStdString(FormatDiary(form.Diary().DiaryDays));
    }
    // A diary with events of every kind, in the months around 7 December 2026.
    static QByteArray SampleDiary()
    {
        const std::pair<int, QByteArray> events[] = { { DayIndex(12, 7), "010900Dentist \x80 40" },
            { DayIndex(12, 7), "021200Lunch with Zo\xEB" }, { DayIndex(1, 1), "100000New Year" },
            { DayIndex(3, 29), "031745Cancelled: choir" },
            { DayIndex(10, 31), "110800Locked alarm" } };
        QByteArray text;
        for (int slot = 0; slot < DiaryDayCount; ++slot) {
            for (const auto& [at, line] : events)
                if (at == slot)
                    text += line + "\r\n";
            text += "\xFF\r\n";
        }
        return text;
    }

private Q_SLOTS:
    void BothItemsAreInTheTrayMenuAndTheMenuButton()
    {
        TFakeShell shell;
        auto form = shell.Start();
        const QList<QAction*> items
            = form->findChild<QToolButton*>(u"MenuButton"_s)->menu()->actions();
        QVERIFY(items.contains(form->Tray().MenuExportIcs));
        QVERIFY(items.contains(form->Tray().MenuImportIcs));
        QCOMPARE(form->Tray().MenuExportIcs->text(), u"Expor&t to iCalendar…"_s);
        QCOMPARE(form->Tray().MenuImportIcs->text(), u"&Import from iCalendar…"_s);
    }

    void ExportedDiaryImportsIntoAnEmptyOneAsItWas()
    {
        TFakeShell source;
        source.WriteData(u"DIARY.DAT"_s, SampleDiary());
        auto exporter = source.Start();
        const QString calendar = source.DataFile(u"diary"_s); // ".ics" is added
        source.Dialogues.FileAnswers.push_back(calendar);
        exporter->Tray().MenuExportIcs->trigger();
        QVERIFY(source.Dialogues.Errors.isEmpty());
        QVERIFY(source.ReadData(u"diary.ics"_s).startsWith("BEGIN:VCALENDAR\r\n"));

        TFakeShell target;
        auto importer = target.Start();
        target.Dialogues.FileAnswers.push_back(calendar + u".ics"_s);
        target.Dialogues.ConfirmAnswers = { false, true, true };
        // Declined, nothing changes; agreed, the diary is the one exported.
        const QByteArray empty = DiaryText(*importer);
        importer->Tray().MenuImportIcs->trigger();
        QCOMPARE(target.Dialogues.Confirms.value(0), u"Import 5 events?"_s);
        QCOMPARE(DiaryText(*importer), empty);
        QVERIFY(importer->Data().Save().empty());
        QVERIFY(!importer->Data().Unsaved(dkDiary));
        QVERIFY(importer->ImportIcsFile(calendar + u".ics"_s));
        QCOMPARE(DiaryText(*importer), SampleDiary());
        QCOMPARE(StatusPanel(*importer, 2)->text(), u"1 Overdue Events"_s);
        QVERIFY(importer->Data().Unsaved(dkDiary));
        // One step of the diary's history, undone and done again whole.
        auto* undo = importer->CalendarPage()->findChild<QAction*>(u"mDUndo"_s);
        QCOMPARE(undo->text(), u"Undo Import"_s);
        undo->trigger();
        QCOMPARE(DiaryText(*importer), empty);
        QVERIFY(!importer->CalendarPage()->findChild<QAction*>(u"mDUndo"_s)->isEnabled());
        importer->CalendarPage()->findChild<QAction*>(u"mDRedo"_s)->trigger();
        QCOMPARE(DiaryText(*importer), SampleDiary());
        // A second import finds everything there already.
        QVERIFY(!importer->ImportIcsFile(calendar + u".ics"_s));
        QCOMPARE(target.Dialogues.Infos.value(0),
            u"There is nothing to import. 5 are in the diary already."_s);
        QCOMPARE(target.Dialogues.Confirms.size(), 2);
    }

    void FilesThatCannotBeReadOrWrittenAreTold()
    {
        TFakeShell shell;
        auto form = shell.Start();
        shell.WriteData(u"letter.ics"_s, "Dear Ann,\nsee you on Monday.\n");
        QVERIFY(!form->ImportIcsFile(shell.DataFile(u"letter.ics"_s)));
        QVERIFY(!form->ImportIcsFile(shell.DataFile(u"missing.ics"_s)));
        QCOMPARE(shell.Dialogues.Errors,
            (QStringList {
                u"The file is not an iCalendar file."_s, u"The file cannot be read."_s }));
        shell.Dialogues.FileAnswers.push_back(u"/nonexistent/folder/out.ics"_s);
        form->ExportIcsClick();
        QCOMPARE(shell.Dialogues.Errors.value(2),
            u"The calendar could not be written to /nonexistent/folder/out.ics."_s);
        // Cancelled pickers do nothing.
        form->ExportIcsClick();
        form->ImportIcsClick();
        QCOMPARE(shell.Dialogues.Errors.size(), 3);
        QVERIFY(shell.Dialogues.Confirms.isEmpty());
    }

    void CommandLineImportAsksOnceTheWindowIsUp()
    {
        TFakeShell shell;
        const QByteArray calendar
            = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:1\r\n"
              "DTSTART;VALUE=DATE:20270501\r\nSUMMARY:Maj\r\nEND:VEVENT\r\n"
              "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20280501\r\nSUMMARY:Later\r\n"
              "END:VEVENT\r\nEND:VCALENDAR\r\n";
        shell.WriteData(u"a.ics"_s, calendar);
        shell.WriteData(u"b.ics"_s, calendar);
        shell.Dialogues.ConfirmAnswers = { true, true };
        auto form = shell.Start(
            { u"--import-ics"_s, shell.DataFile(u"a.ics"_s), shell.DataFile(u"b.ics"_s) });
        QVERIFY(shell.Dialogues.Confirms.isEmpty());
        QTRY_COMPARE(shell.Dialogues.Confirms.size(), 1);
        QCOMPARE(shell.Dialogues.Confirms.value(0),
            u"Import 1 event? 1 lies outside the diary's year and is left out."_s);
        // The second file, opened beside it, holds nothing new.
        QTRY_COMPARE(shell.Dialogues.Infos.size(), 1);
        QVERIFY(shell.Dialogues.Errors.isEmpty());
        QVERIFY(DiaryText(*form).contains("000000Maj\r\n"));
    }
};

QTEST_MAIN(TestIcsFiles)
#include "tst_IcsFiles.moc"
