#include "FakeShell.h"
#include "app/Autosaver.h"
#include "diary/DiaryFile.h"

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

// The data saving itself as the user types: the page left as it is, a
// failure told once in the status bar and by the box on hiding.
class TestAutosave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void SavesInPassingAndTellsAFailureOnce()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        // Typed out of order into today's rows, with a blank row between.
        TDiaryStore& diary = form->Diary();
        const std::pair<uint16_t, const char*> typed[]
            = { { 1730, "Zumba ÄÖÜ" }, { 0, "" }, { 905, "-2 tickets, row 7" } };
        for (uint8_t row = 1; row <= 3; ++row) {
            diary.EventAtRow(row)->Time = typed[row - 1].first;
            diary.EventAtRow(row)->Description = typed[row - 1].second;
        }
        form->Data().Changed(dkDiary);
        QTRY_VERIFY_WITH_TIMEOUT(shell.ReadData(u"DIARY.DAT"_s).contains("Zumba"), 5000);
        const QByteArray saved = shell.ReadData(u"DIARY.DAT"_s);
        QVERIFY(saved.indexOf("000905-2 tickets") < saved.indexOf("001730Zumba \xC4\xD6\xDC"));
        QVERIFY(diary.DayEvents()->Description.view() == "Zumba ÄÖÜ");
        QCOMPARE(diary.EventAtRow(3)->Time, 905);

        // A folder in the temporary file's place: the autosave fails, says so
        // in the status bar, shows no box and leaves the file as it was.
        QVERIFY(QDir(shell.Folder.path()).mkdir(u"DIARY.DAT.tmp"_s));
        diary.EventAtRow(2)->Description = "Lunch";
        form->Data().Changed(dkDiary);
        QTRY_VERIFY_WITH_TIMEOUT(
            form->statusBar()->currentMessage().startsWith(u"Diary not saved: "_s), 5000);
        QVERIFY(form->statusBar()->currentMessage().endsWith(u"Trying again shortly."_s));
        QVERIFY(shell.Dialogues.Errors.isEmpty());
        QCOMPARE(shell.ReadData(u"DIARY.DAT"_s), saved);
        // Hiding saves as ever: the box; then, the cause gone, the word goes.
        form->close();
        QCOMPARE(shell.Dialogues.Errors.size(), 1);
        QVERIFY(QDir(shell.Folder.path()).rmdir(u"DIARY.DAT.tmp"_s));
        form->close();
        QCOMPARE(shell.Dialogues.Errors.size(), 1);
        QVERIFY(shell.ReadData(u"DIARY.DAT"_s).contains("Lunch"));
        QVERIFY(form->statusBar()->currentMessage().isEmpty());
        QVERIFY(!form->Autosaver().Pending());
    }

    void TheNotesMemoKeepsItsCaretScrollAndWrap()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        form->findChild<QTabWidget*>(u"PageControl"_s)->setCurrentIndex(1);
        auto* memo = form->findChild<QPlainTextEdit*>(u"NotesMemo"_s);
        form->findChild<QAction*>(u"WordWrapButton"_s)->trigger();
        QVERIFY(memo->lineWrapMode() != QPlainTextEdit::NoWrap);
        memo->setFocus();
        for (int line = 0; line < 60; ++line)
            memo->insertPlainText(
                u"Line %1: Zoë owes -5 €, abcdefghijklmnopqrstuvwxyz\n"_s.arg(line));
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(40);
        memo->setTextCursor(cursor);
        QTest::keyClicks(memo, u"!"_s);
        memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum() / 2);
        const int scrolled = memo->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        QTRY_VERIFY_WITH_TIMEOUT(shell.ReadData(u"NOTES.DAT"_s).contains("Line 59: Zo\xEB"), 5000);
        QCOMPARE(memo->textCursor().position(), 41);
        QCOMPARE(memo->verticalScrollBar()->value(), scrolled);
        QVERIFY(memo->lineWrapMode() != QPlainTextEdit::NoWrap);
    }
};

QTEST_MAIN(TestAutosave)
#include "tst_Autosave.moc"
