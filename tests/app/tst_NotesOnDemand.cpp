#include "FakeShell.h"
#include "comms/CommsCommands.h"
#include "find/FindForm.h"
#include "notes/NotesPage.h"
#include "notes/NotesTreeModel.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace
{

const QByteArray Widths = "0064006400640064006400640064006400640064";

QByteArray Header(char level, char view, const QByteArray& name)
{
    return "\xFF" + QByteArray(1, level) + QByteArray(1, view) + Widths + name + "\r\n";
}

void WriteNotes(TFakeShell& shell, const QByteArray& text)
{
    QFile file(shell.DataFile(u"NOTES.DAT"_s));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

bool NotesPageBuilt(const TTalvoForm& form)
{
    return form.findChild<TNotesPage*>() != nullptr;
}

} // namespace

// The notes page is built when first shown or needed, while the notes are
// loaded at start and saved on hiding and at the exit whether it was built or not.
class TestNotesOnDemand : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void theNotesAreSavedWithOrWithoutThePage()
    {
        TFakeShell shell;
        const QByteArray below = Header('2', '1', "Table") + "a\tb\r\n" + Header('2', '0', "Text");
        const QByteArray notes = Header('1', '0', "Home") + "line \xE9\r\n" + below;
        WriteNotes(shell, notes);
        shell.StoredSettings = { { "WinSplit", "200" } };
        {
            auto form = shell.Start();
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            form->close();
            QVERIFY(form->HiddenInTray());
            QCOMPARE(ReadFile(shell.DataFile(u"NOTES.DAT"_s)), notes);
            form->RestoreClick();
            form->Notes().Root()->Children[1]->Name = "Later";
            form->Data().Changed(dkNotes);
            QVERIFY(form->ExitClick());
            QCOMPARE(ReadFile(shell.DataFile(u"NOTES.DAT"_s)),
                QByteArray(notes).replace("Text", "Later"));
            QVERIFY(!NotesPageBuilt(*form));
            QCOMPARE(shell.Stored("WinSplit"), "200");
        }

        WriteNotes(shell, notes);
        // Shown at last: the root, typed into; the change outlives hiding and the exit.
        shell.StoredSettings = { { "WinSplit", "200" } };
        auto form = shell.Start();
        form->show();
        QVERIFY(!NotesPageBuilt(*form));
        Pages(*form)->setCurrentIndex(TTalvoForm::NotesTreePageIndex);
        TNotesPage* page = form->NotesPage();
        QVERIFY(NotesPageBuilt(*form));
        QCOMPARE(page->Selected(), form->Notes().Root());
        QVERIFY(page->TreeView()->isExpanded(page->TreeView()->currentIndex()));
        auto* memo = qobject_cast<QPlainTextEdit*>(page->Editor().Memo());
        QCOMPARE(memo->toPlainText(), u"line \u00e9"_s);
        QTRY_COMPARE(page->TreeView()->width(), 200);
        memo->setFocus();
        QTest::keyClicks(memo, u"new "_s);
        form->close();
        form->RestoreClick();
        QCOMPARE(memo->toPlainText(), u"new line \u00e9"_s);
        page->SetSplit(150);
        QVERIFY(form->ExitClick());
        QVERIFY(form->Notes().Empty());
        QCOMPARE(ReadFile(shell.DataFile(u"NOTES.DAT"_s)),
            Header('1', '0', "Home") + "new line \xE9\r\n" + below);
        QCOMPARE(shell.Stored("WinSplit"), "150");
        QCOMPARE(page->Model().rowCount(), 0);
    }

    void theNotesAreReadAfterTheWindowIsUpAndNeverSavedHalfRead()
    {
        QByteArray notes = Header('1', '0', "Home \xE9");
        for (int i = 0; i < 50'000; ++i)
            notes += "Jo " + QByteArray::number(-i) + "\t555 1234 \xC4\r\n";
        notes += Header('2', '1', "Table");
        for (const bool early : { true, false }) {
            TFakeShell shell;
            WriteNotes(shell, notes);
            auto form = shell.Start();
            form->show();
            if (!early) {
                // Wanted before the poll took them in: the page waits for them.
                QCOMPARE(form->NotesPage()->Selected(), form->Notes().Root());
                QCOMPARE(form->Notes().Root()->Children[0]->Name, "Table");
            }
            QVERIFY(form->ExitClick());
            QCOMPARE(QApplication::overrideCursor(), nullptr);
            QCOMPARE(ReadFile(shell.DataFile(u"NOTES.DAT"_s)), notes);
        }
    }

    void untilTheUserSetsItTheTreeShowsTheNamesWhole()
    {
        const QByteArray longName = "@Address Book of the \xC9"
                                    "cole Fran\xE7"
                                    "aise, 2nd floor";
        const struct {
            QByteArray Child;
            std::string Stored; // the width the settings hold
        } cases[] = { { "@To Do", "" }, { longName, "" }, { longName, "90" }, { "x", "0" } };
        for (const auto& c : cases) {
            TFakeShell shell;
            WriteNotes(shell, Header('1', '0', "My Notes") + Header('2', '0', c.Child));
            if (!c.Stored.empty())
                shell.StoredSettings = { { "WinSplit", c.Stored } };
            auto form = shell.Start();
            form->resize(900, 500);
            form->show();
            form->findChild<QTabWidget*>(u"PageControl"_s)->setCurrentIndex(1);
            QTreeView* tree = form->NotesPage()->TreeView();
            const QString shown = QString::fromLatin1(c.Child);
            QCOMPARE(tree->textElideMode(), Qt::ElideNone);
            if (c.Stored == "90") {
                // The user's width is kept; the names scroll sideways instead of being cut.
                QTRY_COMPARE(tree->width(), 90);
                QTRY_VERIFY(tree->horizontalScrollBar()->isVisible());
                continue;
            }
            const int needed = tree->fontMetrics().horizontalAdvance(shown) + tree->indentation();
            QTRY_VERIFY2(tree->viewport()->width() >= needed, qPrintable(shown));
            QVERIFY(tree->width() >= 129);
            QVERIFY(tree->width() <= form->width() / 2);
        }
    }

    void findDialAndMailBuildThePageWhenItWasNotShown()
    {
        const struct {
            QByteArray Text;
            void (TCommsCommands::*Command)();
            QByteArray Sent;
        } commands[] = {
            { "555 1234", &TCommsCommands::bDialClick, "ATD555 1234\r\r" },
            { "jo@example.org", &TCommsCommands::bSendClick, "mailto:jo@example.org" },
        };
        for (const auto& c : commands) {
            TFakeShell shell;
            WriteNotes(shell, Header('1', '0', "Home") + c.Text + "\r\n");
            auto form = shell.Start();
            form->Options().ModemPort = 1;
            QVERIFY(!NotesPageBuilt(*form));
            (form->Comms()->*c.Command)();
            QVERIFY(NotesPageBuilt(*form));
            QVERIFY2(
                shell.Dialogues.Errors.isEmpty(), qPrintable(shell.Dialogues.Errors.join(u'/')));
            QCOMPARE(shell.Serial.Written + shell.Desktop.Opened.join(u' ').toLatin1(), c.Sent);
        }

        // The notes page is the current one but was never shown: find builds it.
        TFakeShell shell;
        WriteNotes(shell, Header('1', '0', "Home") + Header('2', '0', "Plumber"));
        auto form = shell.Start();
        Pages(*form)->setCurrentIndex(TTalvoForm::NotesTreePageIndex);
        QVERIFY(!NotesPageBuilt(*form));
        TFindForm& find = form->FindWindow();
        find.Target()->lineEdit()->setText(u"plumb"_s);
        find.FindNextClick();
        QVERIFY(NotesPageBuilt(*form));
        QCOMPARE(form->NotesPage()->Selected(), form->Notes().Root()->Children[0].get());
        QVERIFY(shell.Dialogues.Infos.isEmpty());
    }
};

QTEST_MAIN(TestNotesOnDemand)
#include "tst_NotesOnDemand.moc"
