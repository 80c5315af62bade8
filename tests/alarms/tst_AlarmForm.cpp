#include "alarms/AlarmForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

std::unique_ptr<TAlarmForm> Note(
    const QString& time, const QString& message, const QColor& colour = Qt::red)
{
    auto note = std::make_unique<TAlarmForm>(time, message, colour);
    note->setAttribute(Qt::WA_DeleteOnClose, false);
    return note;
}

QLabel* Label(const QWidget& note, const QString& name)
{
    auto* label = note.findChild<QLabel*>(name);
    if (!label)
        qFatal("no label %s", qPrintable(name));
    return label;
}

} // namespace

class TestAlarmForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void labelsShowTheTimeAndTheMessageWithABlankEachSide()
    {
        const auto note = Note(u"09:30"_s, u"Tom & Jerry"_s, QColor(0, 128, 0));
        const QLabel* time = Label(*note, u"Time"_s);
        const QLabel* message = Label(*note, u"Message"_s);
        QCOMPARE(time->text(), u"09:30"_s);
        QCOMPARE(message->text(), u" Tom & Jerry "_s);
        QVERIFY(time->font().bold());
        QVERIFY(!message->font().bold());
        QVERIFY(time->font().pointSizeF() > message->font().pointSizeF());
        QCOMPARE(time->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        QCOMPARE(message->palette().color(QPalette::WindowText),
            note->palette().color(QPalette::ToolTipText));
        QCOMPARE(
            note->palette().color(QPalette::Window), note->palette().color(QPalette::ToolTipBase));
    }

    void anAmpersandTakesItsOwnPlaceInsteadOfMarkingAShortcut()
    {
        // As a shortcut mark, "&" would take no width and "R&D" would fit where "RD" does.
        const auto marked = Note(u"09:30"_s, u"R&D"_s);
        const auto plain = Note(u"09:30"_s, u"RD"_s);
        QVERIFY(marked->width() > plain->width());
    }

    void theNoteHugsItsTexts()
    {
        const auto shortNote = Note(u"09:30"_s, u"Tea"_s);
        const auto longNote = Note(u"09:30"_s, u"Tea with the whole family at the station"_s);
        const auto stickOn = Note(QString(), u"Tea"_s);
        QVERIFY(longNote->width() > shortNote->width() + 100);
        QVERIFY(stickOn->width() < shortNote->width());
        QCOMPARE(stickOn->height(), shortNote->height());

        // Exactly the close panel, the time and the message side by side, inside the frame,
        // each text shown whole.
        for (auto* note : { shortNote.get(), longNote.get(), stickOn.get() }) {
            note->show();
            QVERIFY(QTest::qWaitForWindowExposed(note));
            const QWidget* panel = note->findChild<QWidget*>(u"ClosePanel"_s);
            const QLabel* time = Label(*note, u"Time"_s);
            const QLabel* message = Label(*note, u"Message"_s);
            QCOMPARE(note->width(),
                panel->width() + time->width() + message->width() + 2 * note->frameWidth());
            QCOMPARE(time->x(), panel->geometry().right() + 1);
            QCOMPARE(message->x(), time->geometry().right() + 1);
            for (const QLabel* label : { time, message })
                QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
            QCOMPARE(panel->height(), 25);
            QVERIFY(note->height() >= 25 + 2 * note->frameWidth());
        }
        QCOMPARE(Label(*stickOn, u"Time"_s)->width(), 0);
    }

    void theCloseButtonAcknowledgesOnceAndDestroysTheNote()
    {
        auto* note = new TAlarmForm(u"09:30"_s, u"Dentist"_s, Qt::red);
        QPointer<TAlarmForm> alive(note);
        QSignalSpy acknowledged(note, &TAlarmForm::Acknowledged);
        note->show();
        QVERIFY(QTest::qWaitForWindowExposed(note));
        auto* button = note->findChild<QToolButton*>(u"CloseButton"_s);
        QVERIFY(button);
        QCOMPARE(button->size(), QSize(25, 25));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(acknowledged.count(), 1);
        QTRY_VERIFY(alive.isNull());
    }

    void closingTheOnlyNoteDoesNotEndTheProgram()
    {
        // The program may run with no window but its notes (main window in the tray).
        QVERIFY(QApplication::quitOnLastWindowClosed());
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        auto* note = new TAlarmForm(u"09:30"_s, u"Dentist"_s, Qt::red);
        QPointer<TAlarmForm> alive(note);
        note->show();
        QVERIFY(QTest::qWaitForWindowExposed(note));
        QTimer::singleShot(0, note, [note] {
            QTest::mouseClick(note->findChild<QToolButton*>(u"CloseButton"_s), Qt::LeftButton);
        });
        // Closing the last window would end this loop at once with 0.
        QTimer::singleShot(300, qApp, [] { QCoreApplication::exit(42); });
        QCOMPARE(QApplication::exec(), 42);
        QVERIFY(alive.isNull());
        QCOMPARE(lastClosed.count(), 0);
    }

    void theNoteIsDraggedByItsTextsAndItsBackground()
    {
        const auto note = Note(u"09:30"_s, u"Dentist"_s);
        note->move(0, 100);
        note->show();
        QVERIFY(QTest::qWaitForWindowExposed(note.get()));
        QCOMPARE(note->pos(), QPoint(0, 100));

        QLabel* message = Label(*note, u"Message"_s);
        const QPoint grip(6, message->height() / 2);
        QTest::mousePress(message, Qt::LeftButton, {}, grip);
        QTest::mouseMove(message, grip + QPoint(40, 30));
        QTest::mouseRelease(message, Qt::LeftButton, {}, grip + QPoint(40, 30));
        QCOMPARE(note->pos(), QPoint(40, 130));

        // A move with no button held does not drag.
        QTest::mouseMove(message, grip + QPoint(90, 90));
        QCOMPARE(note->pos(), QPoint(40, 130));

        QLabel* time = Label(*note, u"Time"_s);
        QTest::mousePress(time, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseMove(time, QPoint(3 - 20, 3 + 5));
        QTest::mouseRelease(time, Qt::LeftButton, {}, QPoint(3 - 20, 3 + 5));
        QCOMPARE(note->pos(), QPoint(20, 135));

        // The frame around the texts is the note's own background.
        QTest::mousePress(note.get(), Qt::LeftButton, {}, QPoint(1, 1));
        QTest::mouseMove(note.get(), QPoint(11, 1));
        QTest::mouseRelease(note.get(), Qt::LeftButton, {}, QPoint(11, 1));
        QCOMPARE(note->pos(), QPoint(30, 135));
    }

    void everyWayOfClosingCountsAsSeeingItOnceButAQuietCloseDoesNot()
    {
        enum TWay { Escape, Return, Enter, Space, WindowManager, Quiet };
        const struct {
            TWay Way;
            int Acknowledged;
        } cases[] = { { Escape, 1 }, { Return, 1 }, { Enter, 1 }, { Space, 1 },
            { WindowManager, 1 }, { Quiet, 0 } };
        for (const auto& test : cases) {
            auto* note = new TAlarmForm(u"09:30"_s, u"Dentist"_s, Qt::red);
            QPointer<TAlarmForm> alive(note);
            QSignalSpy acknowledged(note, &TAlarmForm::Acknowledged);
            QSignalSpy closing(note, &TAlarmForm::Closing);
            note->show();
            QVERIFY(QTest::qWaitForWindowExposed(note));
            auto* button = note->findChild<QToolButton*>(u"CloseButton"_s);
            QCOMPARE(button->focusPolicy(), Qt::StrongFocus);
            switch (test.Way) {
            case Escape:
                QTest::keyClick(note, Qt::Key_Escape);
                break;
            case Return:
                QTest::keyClick(note, Qt::Key_Return);
                break;
            case Enter:
                QTest::keyClick(note, Qt::Key_Enter);
                break;
            case Space:
                button->setFocus();
                QTest::keyClick(button, Qt::Key_Space);
                break;
            case WindowManager:
                note->close();
                note->close();
                break;
            case Quiet:
                note->CloseQuietly();
                break;
            }
            QTRY_VERIFY(alive.isNull());
            QCOMPARE(acknowledged.count(), test.Acknowledged);
            QCOMPARE(closing.count(), 1);
        }
    }

    void snoozeOffersItsChoicesAndReturnOnItSnoozesForTheDefault()
    {
        const struct {
            QString Item;
            int Minutes;
        } cases[] = { { u"Snooze5"_s, 5 }, { u"Snooze15"_s, 15 }, { u"Snooze60"_s, 60 },
            { QString(), 10 }, { u"Return"_s, 10 } };
        for (const auto& test : cases) {
            auto* note = new TAlarmForm(u"09:30"_s, u"Dentist"_s, Qt::red);
            QPointer<TAlarmForm> alive(note);
            note->EnableSnooze(10);
            QSignalSpy snoozed(note, &TAlarmForm::SnoozeChosen);
            QSignalSpy acknowledged(note, &TAlarmForm::Acknowledged);
            note->show();
            QVERIFY(QTest::qWaitForWindowExposed(note));
            auto* snooze = note->findChild<QToolButton*>(u"SnoozeButton"_s);
            QCOMPARE(snooze->menu()->actions().size(), 5);
            QCOMPARE(snooze->menu()->actions().back()->text(), u"1 hour"_s);
            if (test.Item == u"Return"_s) {
                snooze->setFocus();
                QTest::keyClick(snooze, Qt::Key_Return);
            } else if (test.Item.isEmpty()) {
                snooze->click();
            } else {
                note->findChild<QAction*>(test.Item)->trigger();
            }
            QTRY_VERIFY(alive.isNull());
            QCOMPARE(snoozed.count(), 1);
            QCOMPARE(snoozed.front().front().toInt(), test.Minutes);
            QCOMPARE(acknowledged.count(), 1);
        }
    }

    void aMissedAlarmSaysSoAndALongTextWrapsToTheWidthGiven()
    {
        const auto note = Note(u"14:30"_s, u"Dentist"_s);
        const int width = note->width();
        note->MarkMissed(u"14:30"_s);
        QCOMPARE(Label(*note, u"MissedMark"_s)->text(), u"missed at 14:30 "_s);
        QVERIFY(note->width() > width);

        const auto wide = Note(u"14:30"_s, QString(u"Zahnarzt Ärger & Co. "_s).repeated(12));
        const int height = wide->height();
        wide->FitWithin(400);
        QVERIFY(wide->width() <= 400);
        QVERIFY(wide->height() > height);
        QVERIFY(Label(*wide, u"Message"_s)->wordWrap());
        const auto narrow = Note(u"14:30"_s, u"Tea"_s);
        const QSize before = narrow->size();
        narrow->FitWithin(400);
        QCOMPARE(narrow->size(), before);
    }
};

QTEST_MAIN(TestAlarmForm)
#include "tst_AlarmForm.moc"
