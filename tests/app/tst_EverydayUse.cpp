#include "FakeShell.h"
#include "app/HelpWindow.h"
#include "notes/NotesPage.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QDate>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace
{

// Visible children of one parent that overlap, and buttons too narrow for
// their captions, anywhere below `widget`.
QStringList LayoutFaults(const QWidget* widget)
{
    QStringList faults;
    QList<const QWidget*> shown;
    for (const QObject* child : widget->children())
        if (child->isWidgetType() && static_cast<const QWidget*>(child)->isVisible()
            && !static_cast<const QWidget*>(child)->isWindow())
            shown << static_cast<const QWidget*>(child);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            if (shown[i]->geometry().intersects(shown[j]->geometry()))
                faults << shown[i]->objectName() + u" overlaps "_s + shown[j]->objectName();
        // Tool buttons show their icons only.
        if (const auto* button = qobject_cast<const QAbstractButton*>(shown[i]))
            if (!qobject_cast<const QToolButton*>(button) && !button->text().isEmpty()
                && button->width() < button->fontMetrics().horizontalAdvance(button->text()))
                faults << button->objectName() + u" cuts its caption"_s;
        faults << LayoutFaults(shown[i]);
    }
    return faults;
}

// Every control in the accessibility tree below `node` that takes the focus
// but has no name a screen reader could read.
QStringList Unnamed(QAccessibleInterface* node, int depth = 0)
{
    QStringList unnamed;
    if (!node || depth > 40)
        return unnamed;
    // Table cells speak their contents, which may well be empty.
    const QAccessible::State state = node->state();
    if (node->role() != QAccessible::Cell && state.focusable && !state.invisible
        && node->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject* object = node->object();
        unnamed << (object ? QString::fromLatin1(object->metaObject()->className()) + u':'
                               + object->objectName()
                           : u"?"_s)
                + u" role "_s + QString::number(node->role());
    }
    for (int i = 0; i < node->childCount(); ++i)
        unnamed << Unnamed(node->child(i), depth + 1);
    return unnamed;
}

} // namespace

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
        Pages(*form)->setCurrentIndex(TTalvoForm::NotesTreePageIndex);
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

    void everyPageFitsTheSmallestWindow()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        form->resize(form->minimumSize());
        QCOMPARE(form->size(), QSize(460, 360));
        for (int page = 0; page < Pages(*form)->count(); ++page) {
            Pages(*form)->setCurrentIndex(page);
            QVERIFY(!form->grab().isNull());
            const QStringList faults = LayoutFaults(Pages(*form)->currentWidget());
            QVERIFY2(faults.isEmpty(),
                qPrintable(Pages(*form)->tabText(page) + u": "_s + faults.join(u"; "_s)));
        }
    }

    void aScreenReaderFindsANameOnEveryControl()
    {
        TFakeShell shell;
        auto form = shell.Start();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        for (int page = 0; page < Pages(*form)->count(); ++page) {
            Pages(*form)->setCurrentIndex(page);
            const QStringList unnamed = Unnamed(QAccessible::queryAccessibleInterface(form.get()));
            QVERIFY2(unnamed.isEmpty(),
                qPrintable(Pages(*form)->tabText(page) + u": "_s + unnamed.join(u"; "_s)));
        }
        // The calendar tells the chosen date and its days.
        QAccessibleInterface* calendar = QAccessible::queryAccessibleInterface(
            form->findChild<QWidget*>(u"CalendarSurface"_s));
        QVERIFY(calendar);
        QCOMPARE(calendar->text(QAccessible::Value),
            QLocale().toString(QDate(2026, 12, 7), QLocale::LongFormat));
        QVERIFY(calendar->childCount() >= 31);
        QAccessibleInterface* seventh = calendar->child(6);
        QCOMPARE(seventh->text(QAccessible::Name), calendar->text(QAccessible::Value));
        QVERIFY(seventh->state().selected);
        QCOMPARE(calendar->indexOfChild(seventh), 6);
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
