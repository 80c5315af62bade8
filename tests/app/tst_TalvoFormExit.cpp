#include "FakeShell.h"
#include "app/WindowPlacement.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// Every way out of the main window keeps what the user typed: hiding, the
// exit, a signal, a refused settings write, and files that are not what they seem.
class TestTalvoFormExit : public QObject
{
    Q_OBJECT

    static void WriteFile(const QString& path, const QByteArray& text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    static QByteArray Diary(const QByteArray& firstSlot)
    {
        QByteArray text = firstSlot;
        for (int slot = 0; slot < 384; ++slot)
            text += "\xFF\r\n";
        return text;
    }
    static void AddEvent(TTalvoForm& form, const std::string& description)
    {
        TEventLink event = NewEvent();
        event->Description = description;
        event->Next = std::move(form.Diary().DiaryDays[0]);
        form.Diary().DiaryDays[0] = std::move(event);
        form.Data().Changed(dkDiary);
    }

private Q_SLOTS:
    void aStoredPlaceIsBroughtWithinTheScreen()
    {
        const QRect area(0, 0, 800, 600);
        const QSize minimum(460, 360);
        const struct {
            TStoredPlace Stored;
            QRect Shown;
        } cases[] = {
            { { 100, 50, 640, 480 }, QRect(100, 50, 640, 480) }, // fits: kept
            { { -50000, -3, 32767, 32767 }, QRect(0, 0, 800, 600) },
            { { 700, 550, 500, 400 }, QRect(300, 200, 500, 400) },
            { { INT32_MAX, INT32_MIN, -5, 0 }, QRect(340, 0, 460, 360) },
            { { INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX }, QRect(0, 0, 800, 600) },
        };
        for (const auto& c : cases)
            QCOMPARE(FitToArea(c.Stored, area, minimum), c.Shown);
        // Smaller than the window's minimum: the minimum, at the area's corner.
        QCOMPARE(
            FitToArea({ 10, 10, 900, 900 }, QRect(0, 0, 400, 300), minimum), QRect(0, 0, 460, 360));

        TFakeShell shell;
        shell.StoredSettings = { { "WinLeft", "-9000" }, { "WinTop", "70000" },
            { "WinWidth", "32767" }, { "WinHeight", "32767" }, { "FontSize", "2147483647" } };
        auto form = shell.Start();
        form->show();
        const QRect available = form->screen()->availableGeometry();
        QTRY_VERIFY2(available.contains(form->frameGeometry()),
            qPrintable(u"%1 %2"_s.arg(
                QDebug::toString(available), QDebug::toString(form->frameGeometry()))));
        QVERIFY(form->ExitClick());
        QCOMPARE(shell.Stored("WinWidth"), std::to_string(form->width()));
    }

    void aRefusedPlacementWriteEndsTheExitWithTheDiarySaved()
    {
        for (const auto cause : { TTalvoForm::ecUser, TTalvoForm::ecSystem }) {
            TFakeShell shell;
            shell.RefuseSettingsWrites = true;
            const QByteArray diary = Diary("000000Kept\r\n");
            WriteFile(shell.DataFile(u"DIARY.DAT"_s), diary);
            auto form = shell.Start();
            QSignalSpy exits(form.get(), &TTalvoForm::ExitRequested);
            QVERIFY(form->ExitClick(cause));
            QCOMPARE(exits.count(), 1);
            QCOMPARE(ReadFile(shell.DataFile(u"DIARY.DAT"_s)), diary);
            // Asked by a signal there is nobody to answer a box.
            QCOMPARE(shell.Dialogues.ApplicationErrors,
                cause == TTalvoForm::ecUser ? QStringList { u"Failed to set data for 'WinLeft'"_s }
                                            : QStringList {});
            // Freed at the end, the diary is never saved again.
            QVERIFY(form->SaveAllData());
            QVERIFY(form->ExitClick());
            QCOMPARE(ReadFile(shell.DataFile(u"DIARY.DAT"_s)), diary);
        }
    }

    void aFailedSaveKeepsTheWindowShownAndTheExitSavesWhatChangedWhileHidden()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        QVERIFY(QDir(shell.Folder.path()).mkdir(u"DIARY.DAT.tmp"_s));
        AddEvent(*form, "typed");
        form->close();
        QVERIFY(form->isVisible());
        QVERIFY(!form->HiddenInTray());
        QCOMPARE(shell.Dialogues.Errors.size(), 1);

        QVERIFY(QDir(shell.Folder.path()).rmdir(u"DIARY.DAT.tmp"_s));
        form->close();
        QVERIFY(form->HiddenInTray());
        QVERIFY(ReadFile(shell.DataFile(u"DIARY.DAT"_s)).startsWith("000000typed\r\n"));

        // A change while hidden (the purge makes such) is saved by the exit,
        // and a save that fails then brings the window back: asked by the
        // user, and asked by the system when no emergency copy can be kept
        // either (a file stands where its folder would be made).
        AddEvent(*form, "later");
        QVERIFY(QDir(shell.Folder.path()).mkdir(u"DIARY.DAT.tmp"_s));
        WriteFile(shell.DataFile(u"state"_s), "in the way");
        for (const auto cause : { TTalvoForm::ecUser, TTalvoForm::ecSystem }) {
            QVERIFY(!form->ExitClick(cause));
            QVERIFY(form->isVisible());
            QVERIFY(!form->HiddenInTray());
            QVERIFY(shell.Tray.Shown);
        }
        QCOMPARE(shell.Dialogues.Errors.size(), 3);
        QVERIFY(shell.Dialogues.Errors.last().contains(u"Is a directory"_s));
        // The system's request ends the program all the same once a copy can
        // be kept; the file stays as it was, the next start says where the copy is.
        QVERIFY(QFile::remove(shell.DataFile(u"state"_s)));
        QVERIFY(form->ExitClick(TTalvoForm::ecSystem));
        QCOMPARE(shell.Dialogues.Errors.size(), 3);
        QVERIFY(ReadFile(shell.DataFile(u"DIARY.DAT"_s)).startsWith("000000typed\r\n"));
        const QStringList copies
            = QDir(shell.DataFile(u"state/recovered"_s)).entryList({ u"DIARY.DAT.*"_s });
        QCOMPARE(copies, QStringList { u"DIARY.DAT.2026-12-07-091500"_s });
        QVERIFY(ReadFile(shell.DataFile(u"state/recovered/"_s + copies[0]))
                    .startsWith("000000later\r\n000000typed\r\n"));
        form.reset();
        QVERIFY(QDir(shell.Folder.path()).rmdir(u"DIARY.DAT.tmp"_s));
        shell.Dialogues.Errors.clear();
        form = shell.Start();
        QTRY_COMPARE(shell.Dialogues.Errors.size(), 1);
        QVERIFY(shell.Dialogues.Errors[0].contains(u"recovered/DIARY.DAT.2026-12-07-091500"_s));
        form = shell.Start();
        QTest::qWait(50);
        QCOMPARE(shell.Dialogues.Errors.size(), 1);
    }

    void aReadOnlyDiaryIsReportedAndNotReplaced()
    {
        TFakeShell shell;
        const QByteArray diary = Diary("000000Fixed\r\n");
        const QString path = shell.DataFile(u"DIARY.DAT"_s);
        WriteFile(path, diary);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        auto form = shell.Start();
        form->show();
        AddEvent(*form, "new");
        QVERIFY(!form->ExitClick());
        QCOMPARE(shell.Dialogues.Errors.size(), 1);
        QVERIFY2(shell.Dialogues.Errors[0].contains(u"read-only"_s),
            qPrintable(shell.Dialogues.Errors[0]));
        QCOMPARE(ReadFile(path), diary);
        QVERIFY(form->isVisible());
    }

    void anExitWritesOnlyWhatChanged()
    {
        TFakeShell shell;
        const QString diary = shell.DataFile(u"DIARY.DAT"_s);
        const QString notes = shell.DataFile(u"NOTES.DAT"_s);
        WriteFile(diary, Diary("000000Kept\r\n"));
        auto form = shell.Start();
        QVERIFY(form->ExitClick()); // the notes and the place, stored for the first time
        shell.StoredSettings = shell.Backend->Values;
        // Each file's inode and date, the dates set back so a rewrite shows.
        for (const QString& path : { diary, notes })
            std::filesystem::last_write_time(path.toStdString(),
                std::filesystem::file_time_type(std::chrono::hours(24 * 365 * 30)));
        const auto stamps = [&] {
            QStringList stamps;
            for (const QString& path : { diary, notes }) {
                struct stat info {
                };
                if (::stat(qPrintable(path), &info) == 0)
                    stamps << u"%1 %2"_s.arg(info.st_ino).arg(info.st_mtim.tv_sec);
            }
            return stamps;
        };
        const QStringList before = stamps();

        // Nothing changed: no file is written, and no settings write is tried.
        shell.RefuseSettingsWrites = true;
        form = shell.Start();
        QVERIFY(form->ExitClick(TTalvoForm::ecUser));
        QCOMPARE(shell.Dialogues.ApplicationErrors, QStringList {});
        QCOMPARE(stamps(), before);

        // A change made just before the end is saved.
        form = shell.Start();
        AddEvent(*form, "typed");
        QVERIFY(form->ExitClick(TTalvoForm::ecSystem));
        QCOMPARE(ReadFile(diary), Diary("000000typed\r\n000000Kept\r\n"));
        QVERIFY(stamps() != before);
    }

    void theFirstSaveOfAnyScriptKeepsTheDiaryAsUtf8AndSaysSoOnce()
    {
        TFakeShell shell;
        const QString diary = shell.DataFile(u"DIARY.DAT"_s);
        WriteFile(diary, Diary("000000Caf\xE9\r\n"));
        auto form = shell.Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        AddEvent(*form, "Łódź 東京 😀");
        // The autosave writes it and the status bar says it once.
        QTRY_VERIFY_WITH_TIMEOUT(ReadFile(diary).startsWith("\xEF\xBB\xBF"), 10000);
        QTRY_COMPARE(form->statusBar()->currentMessage(),
            u"DIARY.DAT is now kept as UTF-8, so text in every language is saved."_s);
        QVERIFY(ReadFile(diary).contains("Łódź 東京 😀\r\n000000Café"));
        form->statusBar()->clearMessage();
        AddEvent(*form, "again");
        QVERIFY(form->ExitClick());
        QVERIFY(form->statusBar()->currentMessage().isEmpty());
    }

    void aLoadThatStoppedAtByte26IsToldOnceAndTheOriginalKept()
    {
        TFakeShell shell;
        const QByteArray original = Diary("000000Before\r\n\x1A"
                                          "000000After\r\n");
        WriteFile(shell.DataFile(u"DIARY.DAT"_s), original);
        auto form = shell.Start();
        QTRY_COMPARE(shell.Dialogues.Errors.size(), 1);
        QVERIFY2(shell.Dialogues.Errors[0].contains(u"DIARY.DAT.2026-12-07.bak"_s),
            qPrintable(shell.Dialogues.Errors[0]));
        form->show();
        form->close();
        form->RestoreClick();
        form->close();
        QCOMPARE(shell.Dialogues.Errors.size(), 1);
        QCOMPARE(ReadFile(shell.DataFile(u"DIARY.DAT.2026-12-07.bak"_s)), original);
        QVERIFY(ReadFile(shell.DataFile(u"DIARY.DAT"_s)).startsWith("000000Before\r\n\xFF\r\n"));
        QVERIFY(!QFile::exists(shell.DataFile(u"DIARY.DAT.2026-12-07-2.bak"_s)));
    }
};

QTEST_MAIN(TestTalvoFormExit)
#include "tst_TalvoFormExit.moc"
