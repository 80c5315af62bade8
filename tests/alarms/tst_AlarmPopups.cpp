#include "alarms/AlarmForm.h"
#include "alarms/AlarmPopups.h"
#include "controls/FakeDialogues.h"
#include "platform/FakeNotificationServer.h"
#include "platform/Notifications.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

QString LabelText(const TAlarmForm* note, const QString& name)
{
    return note->findChild<QLabel*>(name)->text();
}

QRect Area()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

class TestAlarmPopups : public QObject
{
    Q_OBJECT

    std::unique_ptr<TFakeDialogues> Dialogues;
    QColor Overdue = Qt::red;
    std::unique_ptr<TAlarmPopups> Popups;
    const TAlarmEvent Dentist { static_cast<int32_t>(EncodeDate(2026, 3, 10)), 1430, "Dentist" };

private Q_SLOTS:
    void init()
    {
        Dialogues = std::make_unique<TFakeDialogues>();
        Overdue = Qt::red;
        Popups = std::make_unique<TAlarmPopups>(*Dialogues, [this] { return Overdue; });
    }
    void cleanup()
    {
        Popups.reset();
        Dialogues.reset();
    }

    void notesStackFourPixelsApartInACornerOfTheFreeAreaClearOfTheMainWindow()
    {
        const QRect area = Area();
        const struct {
            QRect MainWindow;
            bool Right, Bottom;
        } cases[] = {
            { QRect(), true, true },
            { QRect(area.right() - 99, area.bottom() - 99, 100, 100), true, false },
            { QRect(area.center().x(), area.top(), area.width() / 2, area.height()), false, true },
            { QRect(area.left(), area.bottom() - 99, area.width(), 100), true, false },
            { area, true, true }, // nowhere clear: the first corner
        };
        for (const auto& test : cases) {
            init();
            Popups->KeepClearOf([&test] { return test.MainWindow; });
            const std::vector<TAlarmForm*> notes { Popups->ShowAlarmPopup(u"09:30"_s, u"Dentist"_s),
                Popups->ShowAlarmPopup(u"09:30"_s, u"Call the garage about the car"_s),
                Popups->ShowAlarmPopup(QString(), u"Lunch"_s) };
            const int h = notes.front()->frameGeometry().height();
            QVERIFY(h >= 25);
            for (size_t i = 0; i < notes.size(); ++i) {
                const QRect place = notes[i]->frameGeometry();
                QVERIFY(area.contains(place));
                QVERIFY(notes[i]->isVisible());
                QCOMPARE(test.Right ? place.right() : place.left(),
                    test.Right ? area.right() : area.left());
                const int offset = static_cast<int>(i) * (h + 4);
                QCOMPARE(test.Bottom ? area.bottom() - place.bottom() : place.top() - area.top(),
                    offset);
            }
            QCOMPARE(Popups->Notes(), notes);
        }
    }

    void aNoteThatWouldLeaveTheAreaGoesOverTheFirst()
    {
        std::vector<TAlarmForm*> notes { Popups->ShowAlarmPopup(u"10:00"_s, u"Stand-up"_s) };
        while (notes.size() < 500
            && (notes.size() == 1 || notes.back()->pos() != notes.front()->pos()))
            notes.push_back(Popups->ShowAlarmPopup(u"10:00"_s, u"Stand-up"_s));
        QVERIFY(notes.size() > 3 && notes.size() < 500);
        const int h = notes.front()->frameGeometry().height();
        for (const TAlarmForm* note : notes)
            QVERIFY(Area().contains(note->frameGeometry()));
        // The last place that fits: one more note would have passed the top.
        QVERIFY(notes[notes.size() - 2]->y() - Area().top() < h + 4);
    }

    void aLongTextWrapsAndTheNoteStaysOnTheScreen()
    {
        const QString text = QString(u"Dentist à Zürich, bring the forms "_s).repeated(8);
        TAlarmForm* note = Popups->ShowAlarmPopup(u"09:30"_s, text);
        QVERIFY(Area().contains(note->frameGeometry()));
        QVERIFY(note->findChild<QLabel*>(u"Message"_s)->wordWrap());
        QVERIFY(note->height() > Popups->ShowAlarmPopup(u"09:30"_s, u"Short"_s)->height());
    }

    void closingANoteDoesNotGiveItsPlaceBackWhileOthersAreOpen()
    {
        TAlarmForm* first = Popups->ShowAlarmPopup(u"09:30"_s, u"Dentist"_s);
        QPointer<TAlarmForm> second = Popups->ShowAlarmPopup(u"09:30"_s, u"Lunch"_s);
        const int h = first->frameGeometry().height();
        const QPoint corner = first->frameGeometry().bottomRight();
        QTest::mouseClick(second->findChild<QToolButton*>(u"CloseButton"_s), Qt::LeftButton);
        QTRY_VERIFY(second.isNull());
        TAlarmForm* next = Popups->ShowAlarmPopup(u"09:31"_s, u"Tea"_s);
        QCOMPARE(first->y() - next->y(), 2 * (h + 4));
        first->close();
        next->close();
        QTRY_VERIFY(Popups->Notes().empty());
        // None open: the stack starts again at its corner.
        QCOMPARE(
            Popups->ShowAlarmPopup(u"09:32"_s, u"Cake"_s)->frameGeometry().bottomRight(), corner);
    }

    void anyNoteClosedAcknowledgesThroughTheOwner()
    {
        QSignalSpy acknowledged(Popups.get(), &TAlarmPopups::Acknowledged);
        TAlarmForm* alarm = Popups->ShowAlarmPopup(u"09:30"_s, u"Dentist"_s);
        TAlarmForm* stickOn = Popups->ShowAlarmPopup(QString(), u"Call Bob"_s);
        QTest::mouseClick(stickOn->findChild<QToolButton*>(u"CloseButton"_s), Qt::LeftButton);
        QCOMPARE(acknowledged.count(), 1);
        QTest::mouseClick(alarm->findChild<QToolButton*>(u"CloseButton"_s), Qt::LeftButton);
        QCOMPARE(acknowledged.count(), 2);
        QTRY_VERIFY(Popups->Notes().empty());
    }

    void theTimeTakesTheOverdueColourOfTheMoment()
    {
        TAlarmForm* red = Popups->ShowAlarmPopup(u"09:30"_s, u"Dentist"_s);
        Overdue = QColor(0, 0, 255);
        TAlarmForm* blue = Popups->ShowAlarmPopup(u"09:31"_s, u"Lunch"_s);
        QCOMPARE(red->findChild<QLabel*>(u"Time"_s)->palette().color(QPalette::WindowText),
            QColor(Qt::red));
        QCOMPARE(blue->findChild<QLabel*>(u"Time"_s)->palette().color(QPalette::WindowText),
            QColor(0, 0, 255));
    }

    void aStickOnNoteAsksForItsText()
    {
        Dialogues->InputAnswers = { u"Call Bob"_s };
        Popups->MenuReminderClick();
        QCOMPARE(Dialogues->Inputs,
            QStringList { u"Make a Stick-On Reminder Note|Enter the Message"_s });
        const std::vector<TAlarmForm*> notes = Popups->Notes();
        QCOMPARE(notes.size(), 1u);
        QCOMPARE(LabelText(notes.front(), u"Time"_s), QString());
        QCOMPARE(LabelText(notes.front(), u"Message"_s), u" Call Bob "_s);
        QVERIFY(notes.front()->isVisible());

        TAlarmForm* alarm = Popups->ShowAlarmPopup(u"09:30"_s, u"Call Bob"_s);
        QVERIFY(notes.front()->width() < alarm->width());

        // A note is never written to a file: every character shows as typed.
        Dialogues->InputAnswers = { u"\u0141\u00f3d\u017a 10\u20ac"_s };
        Popups->MenuReminderClick();
        QCOMPARE(
            LabelText(Popups->Notes().back(), u"Message"_s), u" \u0141\u00f3d\u017a 10\u20ac "_s);
    }

    void cancelOrAnEmptyTextMakesNoNote()
    {
        Dialogues->InputAnswers = { QString(), u""_s };
        Popups->MenuReminderClick();
        Popups->MenuReminderClick();
        QCOMPARE(Dialogues->Inputs.size(), 2);
        QVERIFY(Popups->Notes().empty());
        QCOMPARE(Popups->NextPopupTop(), 0);
    }

    void notesStayWhileTheMainWindowHides()
    {
        QWidget mainWindow;
        mainWindow.show();
        TAlarmForm* note = Popups->ShowAlarmPopup(u"09:30"_s, u"Dentist"_s);
        QVERIFY(QTest::qWaitForWindowExposed(note));
        mainWindow.hide();
        QVERIFY(note->isVisible());
        QVERIFY(note->isWindow());
    }

    void theOwnerGoingClosesEveryNote()
    {
        QPointer<TAlarmForm> first = Popups->ShowAlarmPopup(u"09:30"_s, u"Dentist"_s);
        QPointer<TAlarmForm> second = Popups->ShowAlarmPopup(QString(), u"Call Bob"_s);
        QPointer<TAlarmForm> closed = Popups->ShowAlarmPopup(u"09:31"_s, u"Lunch"_s);
        closed->close(); // already on its way out when the owner goes
        QSignalSpy acknowledged(Popups.get(), &TAlarmPopups::Acknowledged);
        Popups.reset();
        QVERIFY(first.isNull());
        QVERIFY(second.isNull());
        QVERIFY(closed.isNull());
        QCOMPARE(acknowledged.count(), 0);
    }

    void closeAllLeavesNoNoteAndAcknowledgesNothing()
    {
        QSignalSpy acknowledged(Popups.get(), &TAlarmPopups::Acknowledged);
        QPointer<TAlarmForm> first = Popups->ShowAlarmPopup(u"09:30"_s, u"Dentist"_s);
        QPointer<TAlarmForm> second = Popups->ShowAlarmPopup(u"09:31"_s, u"Lunch"_s);
        Popups->CloseAll();
        QVERIFY(!first->isVisible());
        QTRY_VERIFY(first.isNull() && second.isNull());
        QVERIFY(Popups->Notes().empty());
        QCOMPARE(acknowledged.count(), 0);
    }

    // With the desktop's notifications, on a server of the test's own.

    void anAlarmNotifiesAndClosingTheNoteOrTheNotificationClosesTheOther()
    {
        TFakeNotificationServer server;
        TDesktopNotifications notices(server.Start());
        Popups->UseNotifications(&notices, [] { return true; });
        QSignalSpy acknowledged(Popups.get(), &TAlarmPopups::Acknowledged);
        QPointer<TAlarmForm> note = Popups->ShowAlarm(Dentist, TRingKind::Due, u"Dentist Ärger"_s);
        QCOMPARE(server.Notices().size(), 1u);
        const auto sent = server.Notices().front();
        QCOMPARE(sent.Summary, u"14:30 Dentist Ärger"_s);
        QCOMPARE(sent.Body, u"Alarm"_s);
        QCOMPARE(sent.Actions,
            (QStringList {
                u"default"_s, u"Show"_s, u"snooze"_s, u"Snooze"_s, u"dismiss"_s, u"Dismiss"_s }));
        QCOMPARE(sent.Hints.value(u"urgency"_s).value<uchar>(), 2);
        QTest::keyClick(note, Qt::Key_Escape);
        QTRY_VERIFY(note.isNull());
        QTRY_COMPARE(server.ClosedByClient(), std::vector<uint> { sent.Id });
        QCOMPARE(acknowledged.count(), 1);

        note = Popups->ShowAlarm(Dentist, TRingKind::Snoozed, u"Dentist"_s);
        QCOMPARE(server.Notices().back().Body, u"Alarm, snoozed"_s);
        server.CloseNotice(server.Notices().back().Id, 2);
        QTRY_VERIFY(note.isNull());
        QCOMPARE(acknowledged.count(), 2);
    }

    void snoozeComesFromTheNotificationOrTheNotesMenuAndTheLastChoiceStays()
    {
        TFakeNotificationServer server;
        TDesktopNotifications notices(server.Start());
        Popups->UseNotifications(&notices, [] { return true; });
        QSignalSpy snoozed(Popups.get(), &TAlarmPopups::SnoozeRequested);
        QSignalSpy shown(Popups.get(), &TAlarmPopups::ShowRequested);
        QPointer<TAlarmForm> note = Popups->ShowAlarm(Dentist, TRingKind::Due, u"Dentist"_s);
        const uint id = server.Notices().back().Id;
        server.Invoke(id, u"default"_s);
        QTRY_COMPARE(shown.count(), 1);
        QCOMPARE(shown.front().front().value<TAlarmEvent>(), Dentist);
        QVERIFY(!note.isNull());
        server.Invoke(id, u"snooze"_s);
        QTRY_VERIFY(note.isNull());
        QCOMPARE(snoozed.count(), 1);
        QCOMPARE(snoozed.front().back().toInt(), 10);

        note = Popups->ShowAlarm(Dentist, TRingKind::Due, u"Dentist"_s);
        note->findChild<QAction*>(u"Snooze30"_s)->trigger();
        QTRY_VERIFY(note.isNull());
        QCOMPARE(snoozed.back().back().toInt(), 30);
        QCOMPARE(Popups->DefaultSnooze(), 30);
    }

    void remindersAndMissedAlarmsAreNotificationsOrNotesWithoutThem()
    {
        TFakeNotificationServer server;
        TDesktopNotifications notices(server.Start());
        bool on = true;
        Popups->UseNotifications(&notices, [&on] { return on; });
        Popups->ShowReminder(Dentist, 10, u"Dentist"_s);
        QCOMPARE(server.Notices().back().Summary, u"In 10 minutes: 14:30 Dentist"_s);
        QCOMPARE(server.Notices().back().Hints.value(u"urgency"_s).value<uchar>(), 1);
        QVERIFY(Popups->Notes().empty());

        const TAlarmEvent late { Dentist.Day, 1500, "Tea" };
        QPointer<TAlarmForm> first = Popups->ShowAlarm(Dentist, TRingKind::Missed, u"Dentist"_s);
        QPointer<TAlarmForm> second = Popups->ShowAlarm(late, TRingKind::Missed, u"Tea"_s);
        QCOMPARE(server.Notices().size(), 1u);
        Popups->ShowMissed({ Dentist, late }, { u"Dentist"_s, u"Tea"_s });
        QCOMPARE(server.Notices().back().Summary, u"2 missed alarms"_s);
        QCOMPARE(server.Notices().back().Body, u"14:30 Dentist\n15:00 Tea"_s);
        QCOMPARE(LabelText(second, u"MissedMark"_s), u"missed at 15:00 "_s);
        server.Invoke(server.Notices().back().Id, u"dismiss"_s);
        QTRY_VERIFY(first.isNull() && second.isNull());

        on = false;
        Popups->ShowReminder(Dentist, 1, u"Dentist"_s);
        QCOMPARE(server.Notices().size(), 2u);
        QCOMPARE(
            LabelText(Popups->Notes().back(), u"Message"_s), u" In 1 minute: 14:30 Dentist "_s);
    }

    void acknowledgingClosesTheAlarmsNotesButNotTheStickOnNotes()
    {
        QSignalSpy acknowledged(Popups.get(), &TAlarmPopups::Acknowledged);
        QPointer<TAlarmForm> alarm = Popups->ShowAlarm(Dentist, TRingKind::Due, u"Dentist"_s);
        QPointer<TAlarmForm> stickOn = Popups->ShowAlarmPopup(QString(), u"Call Bob"_s);
        Popups->CloseAlarms();
        QTRY_VERIFY(alarm.isNull());
        QVERIFY(stickOn->isVisible());
        QCOMPARE(acknowledged.count(), 0);
    }
};

QTEST_MAIN(TestAlarmPopups)
#include "tst_AlarmPopups.moc"
