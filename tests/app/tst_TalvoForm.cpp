#include "FakeShell.h"
#include "alarms/AlarmForm.h"
#include "alarms/AlarmPopups.h"
#include "app/AboutForm.h"
#include "app/HelpWindow.h"
#include "app/TrayController.h"
#include "calc/CalculatorPage.h"
#include "controls/SimpleCalendar.h"
#include "diary/CalendarPage.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

using namespace Qt::StringLiterals;

namespace
{

QByteArray EmptyDiary()
{
    QByteArray text;
    for (int slot = 0; slot < 384; ++slot)
        text += "\xFF\r\n";
    return text;
}

void WriteDiaryWithEvent(
    const QString& path, uint16_t slot, const QByteArray& line, const QByteArray& start = {})
{
    QByteArray text = start;
    for (int s = 0; s < 384; ++s) {
        if (s == slot)
            text += line + "\r\n";
        text += "\xFF\r\n";
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    // A stamp clearly apart from the last save's, however coarse the file system's clock.
    const auto path8 = std::filesystem::path(path.toStdString());
    std::filesystem::last_write_time(
        path8, std::filesystem::last_write_time(path8) + std::chrono::seconds(5));
}

void PressKey(TTalvoForm& form, int key, const QString& text = {})
{
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != &form)
        target = &form;
    QTest::keyClick(target, static_cast<Qt::Key>(key), Qt::NoModifier);
    Q_UNUSED(text);
}

} // namespace

class TestTalvoForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void frameHasItsPagesStatusBarAndTimer()
    {
        TFakeShell shell;
        auto form = shell.Start();
        QCOMPARE(form->windowTitle(), u"Talvo95 - Quorral"_s);
        QCOMPARE(form->minimumSize(), QSize(460, 360));
        QTabWidget* pages = Pages(*form);
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->tabText(0), u"Calendar / Diary"_s);
        QCOMPARE(pages->tabText(1), u"Notes Tree"_s);
        QCOMPARE(pages->tabText(2), u"Calculator"_s);
        QCOMPARE(pages->widget(0)->objectName(), u"CalendarPage"_s);
        QCOMPARE(pages->widget(1)->objectName(), u"NotesTreePage"_s);
        QCOMPARE(pages->widget(2)->objectName(), u"CalculatorPage"_s);
        QCOMPARE(pages->currentIndex(), 0);
        QVERIFY(StatusPanel(*form, 0)->width() >= 94);
        QVERIFY(StatusPanel(*form, 1)->width() >= 40);
        // A long date fits its panel in the window's font.
        const QLabel* date = StatusPanel(*form, 0);
        QVERIFY(date->fontMetrics().horizontalAdvance(u"Wed, 30 Sep 2026"_s)
            < date->contentsRect().width());
        QCOMPARE(StatusPanel(*form, 2)->text(), u"0 Overdue Events"_s);
        QCOMPARE(SecondTimer(*form)->interval(), 1000);
        QVERIFY(SecondTimer(*form)->isActive());
        QVERIFY(shell.Dialogues.Errors.isEmpty());
    }

    void trayMenuHoldsEveryItemInOrder()
    {
        TFakeShell shell;
        auto form = shell.Start();
        QMenu* menu = form->Tray().Menu();
        QStringList captions;
        for (QAction* action : menu->actions())
            captions << (action->isSeparator() ? u"-"_s : action->text());
        QCOMPARE(captions,
            QStringList({ u"&Restore"_s, u"&Acknowledge"_s, u"&Make a Stick-On Note"_s, u"-"_s,
                u"Show &Schedule"_s, u"Show Purged &Events"_s, u"Expor&t to iCalendar…"_s,
                u"&Import from iCalendar…"_s, u"Sync &now"_s, u"A&bout"_s, u"&Help"_s, u"-"_s,
                u"&Properties"_s, u"Start &with the desktop session"_s, u"-"_s, u"E&xit"_s }));
        QCOMPARE(menu->defaultAction(), form->Tray().Restore);
        QVERIFY(!form->Tray().Acknowledge->isEnabled());
        QVERIFY(shell.Tray.Shown);
        QCOMPARE(shell.Tray.Tip, u"Talvo95"_s);
    }

    void aFirstStartShowsBothMonthsTwelveRowsAndTheWholeKeypad()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QRect area = form->screen()->availableGeometry();
        QTRY_VERIFY(area.contains(form->frameGeometry()));
        auto* calendar = form->findChild<TSimpleCalendar*>(u"Calendar"_s);
        QVERIFY(calendar->width() >= calendar->SizeForMonths(2).width());
        auto* grid = form->findChild<QTableView*>(u"CalendarGrid"_s);
        QVERIFY(grid->viewport()->height() >= 12 * grid->rowHeight(0));
        form->findChild<QTabWidget*>(u"PageControl"_s)->setCurrentIndex(2);
        auto* keys = form->findChild<QScrollArea*>(u"CalculatorScroller"_s);
        QTRY_VERIFY(keys->isVisible());
        QTRY_VERIFY(!keys->horizontalScrollBar()->isVisible());
        QVERIFY(!keys->verticalScrollBar()->isVisible());
        QVERIFY(form->ExitClick());
        QCOMPARE(shell.Stored("WinWidth"), std::to_string(form->width()));

        // From then on the window keeps the size it was left at.
        shell.StoredSettings = { { "WinWidth", "480" }, { "WinHeight", "400" } };
        auto stored = shell.Start();
        QCOMPARE(stored->size(), QSize(480, 400));
    }

    void everyTrayMenuItemHasAnAccessLetterOfItsOwn()
    {
        TFakeShell shell;
        auto form = shell.Start();
        QMap<QKeySequence, QString> taken;
        for (QAction* action : form->Tray().Menu()->actions()) {
            if (action->isSeparator())
                continue;
            const QKeySequence letter = QKeySequence::mnemonic(action->text());
            QVERIFY2(!letter.isEmpty(), qPrintable(action->text()));
            QVERIFY2(!taken.contains(letter),
                qPrintable(action->text() + u" / "_s + taken.value(letter)));
            taken.insert(letter, action->text());
        }
        QVERIFY(taken.size() >= 10);
    }

    void noTrayInAnyCaseAndInvalidParameters()
    {
        TFakeShell lower;
        auto quiet = lower.Start({ u"-notray"_s });
        QVERIFY(quiet->NoTray());
        QVERIFY(!lower.Tray.Shown);
        QVERIFY(lower.Dialogues.Errors.isEmpty());

        TFakeShell mixed;
        auto noisy = mixed.Start({ u"-NOTRAY"_s, u"/x"_s });
        QVERIFY(noisy->NoTray());
        // Told once the window is up, so a signal to end is heard meanwhile.
        QVERIFY(mixed.Dialogues.Errors.isEmpty());
        QTRY_COMPARE(mixed.Dialogues.Errors, QStringList { u"Invalid Parameter: /x"_s });
    }

    void closingHidesToTheTrayAndSavesThenExitWritesOnlyThePlacement()
    {
        TFakeShell shell;
        auto form = shell.Start();
        QSignalSpy exits(form.get(), &TTalvoForm::ExitRequested);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->close();
        QVERIFY(form->HiddenInTray());
        QVERIFY(!form->isVisible());
        QVERIFY(shell.Tray.Shown);
        QCOMPARE(ReadFile(shell.DataFile(u"DIARY.DAT"_s)), EmptyDiary());
        QCOMPARE(exits.count(), 0);

        // Hiding saved it; exit from the tray does not write it again.
        QVERIFY(QFile::remove(shell.DataFile(u"DIARY.DAT"_s)));
        QVERIFY(form->ExitClick());
        QVERIFY(!QFile::exists(shell.DataFile(u"DIARY.DAT"_s)));
        QCOMPARE(exits.count(), 1);
        QVERIFY(!shell.Tray.Shown);
        QVERIFY(!SecondTimer(*form)->isActive());
        QCOMPARE(shell.Stored("WinWidth"), std::to_string(form->width()));
        QCOMPARE(shell.Stored("SchWinLeft"), "20");
        // The notes page was never shown: the tree's width is still unset.
        QCOMPARE(shell.Stored("WinSplit"), "0");
    }

    void closingWithoutATrayExitsAndSaves()
    {
        for (const bool noTrayArgument : { true, false }) {
            TFakeShell shell;
            shell.Tray.Available = noTrayArgument; // no notification area at all otherwise
            auto form = shell.Start(noTrayArgument ? QStringList { u"-NoTray"_s } : QStringList {});
            QSignalSpy exits(form.get(), &TTalvoForm::ExitRequested);
            form->show();
            form->close();
            QCOMPARE(exits.count(), 1);
            QVERIFY(!form->HiddenInTray());
            QCOMPARE(ReadFile(shell.DataFile(u"DIARY.DAT"_s)), EmptyDiary());
            QVERIFY(shell.Stored("WinLeft") != "<absent>");
        }
    }

    void restoreReloadsADiaryChangedWhileHidden()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        form->close();
        QVERIFY(form->HiddenInTray());
        // Another copy of the file arrives: an alarm for 7 December.
        WriteDiaryWithEvent(shell.DataFile(u"DIARY.DAT"_s), DayIndex(12, 7), "010930Dentist");
        shell.Tray.Click();
        QVERIFY(!form->HiddenInTray());
        QVERIFY(form->isVisible());
        const TDiaryEvent* event = form->Diary().DiaryDays[DayIndex(12, 7)].get();
        QVERIFY(event);
        QCOMPARE(event->Description, "Dentist");
        QCOMPARE(event->Time, 930);
        // 09:30 is after the clock's 09:15, so it is not overdue yet.
        QCOMPARE(StatusPanel(*form, 2)->text(), u"0 Overdue Events"_s);
    }

    void restoreWithoutAChangeKeepsTheDiaryInMemory()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        form->close();
        // A change made in memory while hidden (as the tick's purge does) survives.
        form->Diary().DiaryDays[0] = NewEvent();
        form->Diary().DiaryDays[0]->Description = "kept";
        form->RestoreClick();
        QVERIFY(form->Diary().DiaryDays[0]);
        QCOMPARE(form->Diary().DiaryDays[0]->Description, "kept");
    }

    void aFailedSaveIsReportedAndExitDoesNotLoseTheDiary()
    {
        TFakeShell shell;
        auto form = shell.Start();
        QSignalSpy exits(form.get(), &TTalvoForm::ExitRequested);
        form->show();
        // A folder where the save's temporary file must go stops the save, for root too.
        QVERIFY(QDir(shell.Folder.path()).mkdir(u"DIARY.DAT.tmp"_s));
        form->Diary().DiaryDays[0] = NewEvent();
        form->Diary().DiaryDays[0]->Description = "unsaved";
        QVERIFY(!form->ExitClick());
        QCOMPARE(exits.count(), 0);
        QVERIFY(form->isVisible());
        QVERIFY(SecondTimer(*form)->isActive());
        QCOMPARE(shell.Dialogues.Errors.size(), 1);
        QVERIFY(shell.Dialogues.Errors[0].contains(u"DIARY.DAT"_s));
        QCOMPARE(form->Diary().DiaryDays[0]->Description, "unsaved");

        QVERIFY(QDir(shell.Folder.path()).rmdir(u"DIARY.DAT.tmp"_s));
        QVERIFY(form->ExitClick());
        QCOMPARE(exits.count(), 1);
        QVERIFY(ReadFile(shell.DataFile(u"DIARY.DAT"_s)).startsWith("000000unsaved\r\n"));
    }

    void placementIsReadAtStartAndARefusedWriteStillExits()
    {
        TFakeShell shell;
        shell.StoredSettings = { { "WinLeft", "100" }, { "WinTop", "50" }, { "WinWidth", "640" },
            { "WinHeight", "480" }, { "WinSplit", "200" }, { "SchWinTop", "77" } };
        auto form = shell.Start();
        QCOMPARE(form->pos(), QPoint(100, 50));
        QCOMPARE(form->size(), QSize(640, 480));
        form->move(120, 60);
        QVERIFY(form->ExitClick());
        QCOMPARE(shell.Stored("WinLeft"), "120");
        QCOMPARE(shell.Stored("WinTop"), "60");
        QCOMPARE(shell.Stored("WinSplit"), "200");
        QCOMPARE(shell.Stored("SchWinTop"), "77");
        QCOMPARE(shell.Backend->Written,
            (std::vector<std::string> { "WinLeft", "WinTop", "WinWidth", "WinHeight", "WinSplit",
                "SchWinLeft", "SchWinTop", "SchWinWidth", "SchWinHeight" }));

        TFakeShell refusing;
        refusing.RefuseSettingsWrites = true;
        auto stubborn = refusing.Start();
        QSignalSpy exits(stubborn.get(), &TTalvoForm::ExitRequested);
        QVERIFY(stubborn->ExitClick());
        QCOMPARE(exits.count(), 1);
        QCOMPARE(refusing.Dialogues.ApplicationErrors,
            QStringList { u"Failed to set data for 'WinLeft'"_s });
    }

    void trayIconShowsTheDateOrTheRequestedImageWithACutTip()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->Options().DateTray = false;
        form->UpdateTrayIcon(TTalvoForm::AlarmTrayImage);
        QCOMPARE(form->Tray().ShownImage(), 4);
        QCOMPARE(shell.Tray.Tip, u"Talvo95: 0 Overdue Events"_s);

        form->Options().DateTray = true;
        form->UpdateTrayIcon(TTalvoForm::AlarmTrayImage);
        QCOMPARE(form->Tray().ShownImage(), TTrayController::DatedImage);

        StatusPanel(*form, 2)->setText(QString(100, u'x'));
        form->UpdateTrayIcon(TTalvoForm::NormalTrayImage);
        QCOMPARE(shell.Tray.Tip.size(), 63);
        QVERIFY(shell.Tray.Tip.startsWith(u"Talvo95: xxx"_s));
    }

    void acknowledgeDisablesItselfAndShowsTheNormalImage()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->Options().DateTray = false;
        form->Tray().Acknowledge->setEnabled(true);
        form->UpdateTrayIcon(TTalvoForm::AlarmTrayImage);
        form->Tray().Acknowledge->trigger();
        QVERIFY(!form->Tray().Acknowledge->isEnabled());
        QCOMPARE(form->Tray().ShownImage(), 1);
    }

    void stickOnNoteFromTheTrayMenu()
    {
        TFakeShell shell;
        auto form = shell.Start();
        shell.Dialogues.InputAnswers = { u"Ring the garage"_s };
        form->Tray().MenuReminder->trigger();
        QCOMPARE(form->Popups().Notes().size(), 1u);
        QVERIFY(form->ExitClick());
        QTRY_COMPARE(form->Popups().Notes().size(), 0u);
    }

    void anAlarmRingsAtItsMinuteUntilAcknowledged()
    {
        TFakeShell shell;
        QVERIFY(QDir(shell.Folder.path()).exists());
        // A diary kept as UTF-8: the pop-up shows the text whole.
        WriteDiaryWithEvent(shell.DataFile(u"DIARY.DAT"_s), DayIndex(12, 7),
            "010930Dentist Łódź 東京 😀", "\xEF\xBB\xBF");
        shell.StoredSettings = { { "AlarmSound", "2" }, { "DateTray", "0" }, { "Month", "12" } };
        shell.Clock.Set(EncodeDate(2026, 12, 7) + EncodeTime(9, 29, 59));
        auto form = shell.Start();
        form->SecondTimer();
        QCOMPARE(StatusPanel(*form, 1)->text(), u"09:29"_s);
        QVERIFY(StatusPanel(*form, 0)->text().contains(u"2026"_s));
        QCOMPARE(form->Popups().Notes().size(), 0u);

        shell.Clock.Set(EncodeDate(2026, 12, 7) + EncodeTime(9, 30, 1));
        form->SecondTimer();
        form->SecondTimer(); // the same minute again does nothing more
        QCOMPARE(form->Popups().Notes().size(), 1u);
        QCOMPARE(form->Popups().Notes().back()->findChild<QLabel*>(u"Message"_s)->text(),
            u" Dentist Łódź 東京 😀 "_s);
        QVERIFY(form->Tray().Acknowledge->isEnabled());
        QCOMPARE(shell.Sound.Played, std::vector<int32_t> { 2 });
        QCOMPARE(form->Tray().ShownImage(), TTalvoForm::AlarmTrayImage);
        QCOMPARE(shell.Tray.Tip, u"Talvo95: 1 Overdue Events"_s);

        shell.Clock.Set(EncodeDate(2026, 12, 7) + EncodeTime(9, 31));
        form->SecondTimer();
        QCOMPARE(shell.Sound.Played.size(), 2u);
        form->Tray().Acknowledge->trigger();
        shell.Clock.Set(EncodeDate(2026, 12, 7) + EncodeTime(9, 32));
        form->SecondTimer();
        QCOMPARE(shell.Sound.Played.size(), 2u);
        QCOMPARE(form->Tray().ShownImage(), TTalvoForm::NormalTrayImage);
        QCOMPARE(form->Popups().Notes().size(), 1u); // the note stays until closed
    }

    void theTickSleepsToTheNextMinuteAndAClockChangeWakesIt()
    {
        TFakeShell shell;
        shell.StoredSettings = { { "Month", "12" } };
        shell.Clock.Set(EncodeDate(2026, 12, 7) + EncodeTime(9, 29, 59, 250));
        auto form = shell.Start();
        QCOMPARE(SecondTimer(*form)->interval(), 1000);
        form->SecondTimer();
        QVERIFY(SecondTimer(*form)->isActive());
        QCOMPARE(SecondTimer(*form)->interval(), 750);
        QCOMPARE(StatusPanel(*form, 1)->text(), u"09:29"_s);
        // The clock set forward: the status bar follows at once.
        shell.Clock.Set(EncodeDate(2026, 12, 7) + EncodeTime(14, 5, 20));
        form->ClockChanged();
        QCOMPARE(StatusPanel(*form, 1)->text(), u"14:05"_s);
        QCOMPARE(SecondTimer(*form)->interval(), 40'000);
        // After exit nothing starts it again.
        QVERIFY(form->ExitClick());
        form->ClockChanged();
        QVERIFY(!SecondTimer(*form)->isActive());
    }

    void anEventTypedOnTheDiaryPageIsInTheFileAfterHiding()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTableView* grid = form->CalendarPage()->Grid();
        auto type = [](const QString& keys) {
            for (const QChar key : keys)
                QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        };
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
            grid->visualRect(grid->model()->index(0, 3)).center());
        type(u"Dentist"_s);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
            grid->visualRect(grid->model()->index(0, 2)).center());
        type(u"1045"_s);
        form->close();
        QVERIFY(form->HiddenInTray());
        const QByteArray file = ReadFile(shell.DataFile(u"DIARY.DAT"_s));
        // Slot of 7 December: 11 months of 32 slots and 6 days before it.
        const QList<QByteArray> slots = file.split('\xFF');
        QCOMPARE(slots.size(), 385);
        QCOMPARE(slots[DayIndex(12, 7)], QByteArray("\r\n011045Dentist\r\n"));
    }

    void aboutShowsTheRevisionAndHelpShowsEveryTopic()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->Tray().About->trigger();
        QVERIFY(form->AboutForm()->isVisible());
        const auto* revision = form->AboutForm()->findChild<QLabel*>(u"Revision"_s);
        QVERIFY(revision->text().endsWith(u"1.0.0.0"_s));
        // Every link of every topic leads to a topic.
        for (const int topic : { 1, 4, 5, 6, 7 }) {
            QVERIFY(THelpWindow::HasTopic(topic));
            QFile file(u":/help/topic%1.html"_s.arg(topic));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch& link :
                QRegularExpression(u"href=\"topic(\\d+)\\.html\""_s).globalMatch(text))
                QVERIFY2(
                    THelpWindow::HasTopic(link.captured(1).toInt()), qPrintable(link.captured()));
        }
        QVERIFY(!THelpWindow::HasTopic(2));
        // Hiding to the tray closes it.
        form->show();
        form->close();
        QVERIFY(!form->AboutForm()->isVisible());
    }

    void f1OpensTheHelpOfTheActivePage()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const int topics[3] = { 4, 5, 6 };
        for (int page = 0; page < 3; ++page) {
            Pages(*form)->setCurrentIndex(page);
            PressKey(*form, Qt::Key_F1);
            QVERIFY(form->HelpWindow());
            QCOMPARE(form->HelpWindow()->CurrentTopic(), topics[page]);
            form->HelpWindow()->close();
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
        }
        form->Tray().Help->trigger();
        QCOMPARE(form->HelpWindow()->CurrentTopic(), 1);
    }

    void charactersTypedOnTheCalculatorPageReachTheCalculator()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        Pages(*form)->setCurrentIndex(TTalvoForm::CalculatorPageIndex);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClicks(target, u"12"_s);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClicks(target, u"30+"_s);
        QCOMPARE(form->Calc().CalcStack[0], 42.0);
        // Elsewhere the calculator hears nothing.
        Pages(*form)->setCurrentIndex(TTalvoForm::CalendarPageIndex);
        target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClicks(target, u"7"_s);
        QCOMPARE(form->Calc().CalcStack[0], 42.0);
    }
};

QTEST_MAIN(TestTalvoForm)
#include "tst_TalvoForm.moc"
