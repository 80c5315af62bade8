#include "FakeShell.h"
#include "app/HelpWindow.h"
#include "notes/NotesPage.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;

// The main window as a user meets it day to day: the keys of the notes page,
// the help window.
class TEverydayUseTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ctrlDAndCtrlSDialAndMailFromTheNotesOnce()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->Options().ModemPort = 1;
        form->PageControl()->setCurrentIndex(TTalvoForm::NotesTreePageIndex);
        auto* memo = qobject_cast<QPlainTextEdit*>(form->NotesPage()->Editor().Memo());
        QVERIFY(memo);
        memo->setPlainText(u"Jo Smith 555 1234\njo@example.org"_s);
        memo->setFocus();
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(12);
        memo->setTextCursor(cursor);
        QTest::keyClick(memo, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(shell.Serial.Written, QByteArray("ATD 555 1234\r\r"));
        // From the tree the keys reach the same commands.
        form->NotesPage()->TreeView()->setFocus();
        QTest::keyClick(form->NotesPage()->TreeView(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(shell.Serial.Written, QByteArray("ATD 555 1234\r\rATD 555 1234\r\r"));
        QCOMPARE(form->NotesPage()->pmDial->actions().size(), 1);

        memo->setFocus();
        cursor.setPosition(22);
        memo->setTextCursor(cursor);
        QTest::keyClick(memo, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(shell.Desktop.Opened, QStringList { u"mailto:jo@example.org"_s });
        QCOMPARE(form->NotesPage()->pmEmail->actions().size(), 1);
        QVERIFY(shell.Dialogues.Errors.isEmpty());
    }

    void theHelpWindowClosesWithEscapeAndCtrlW()
    {
        TFakeShell shell;
        auto form = shell.Start();
        for (const QKeyCombination keys :
            { QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W) }) {
            form->HelpClick();
            QVERIFY(QTest::qWaitForWindowActive(form->HelpWindow()));
            QTest::keyClick(
                form->HelpWindow()->focusWidget(), keys.key(), keys.keyboardModifiers());
            QVERIFY(!form->HelpWindow()->isVisible());
        }
    }
};

QTEST_MAIN(TEverydayUseTest)
#include "tst_EverydayUse.moc"
