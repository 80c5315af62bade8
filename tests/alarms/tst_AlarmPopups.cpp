#include "alarms/AlarmForm.h"
#include "alarms/AlarmPopups.h"
#include "controls/FakeDialogues.h"

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

QPoint ScreenOrigin()
{
    return QGuiApplication::primaryScreen()->geometry().topLeft();
}

} // namespace

class TestAlarmPopups : public QObject
{
    Q_OBJECT

    std::unique_ptr<TFakeDialogues> Dialogues;
    QColor Overdue = Qt::red;
    std::unique_ptr<TAlarmPopups> Popups;

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

    void threeAlarmsStackDownTheLeftEdgeFourPixelsApart()
    {
        TAlarmForm* first = Popups->ShowAlarmPopup(u"09:30"_s, u"Dentist"_s);
        TAlarmForm* second = Popups->ShowAlarmPopup(u"09:30"_s, u"Call the garage about the car"_s);
        TAlarmForm* third = Popups->ShowAlarmPopup(u"09:30"_s, u"Lunch"_s);
        const int h = first->frameGeometry().height();
        QVERIFY(h >= 25);
        QCOMPARE(first->pos(), ScreenOrigin());
        QCOMPARE(second->pos(), ScreenOrigin() + QPoint(0, h + 4));
        QCOMPARE(third->pos(), ScreenOrigin() + QPoint(0, 2 * h + 8));
        QCOMPARE(Popups->NextPopupTop(), 3 * h + 12);
        for (TAlarmForm* note : { first, second, third })
            QVERIFY(note->isVisible());
        QCOMPARE(Popups->Notes(), (std::vector<TAlarmForm*> { first, second, third }));
    }

    void afterPassingSixHundredTheNextNoteGoesOverTheFirst()
    {
        std::vector<TAlarmForm*> notes;
        while (notes.empty() || Popups->NextPopupTop() != 0)
            notes.push_back(Popups->ShowAlarmPopup(u"10:00"_s, u"Stand-up"_s));
        const int h = notes.front()->frameGeometry().height();
        const int lastTop = notes.back()->y() - ScreenOrigin().y();
        QCOMPARE(lastTop, (static_cast<int>(notes.size()) - 1) * (h + 4));
        QVERIFY(lastTop <= 600);
        QVERIFY(lastTop + h + 4 > 600);

        TAlarmForm* over = Popups->ShowAlarmPopup(u"10:01"_s, u"Again"_s);
        QCOMPARE(over->pos(), notes.front()->pos());
    }

    void closingANoteDoesNotGiveItsPlaceBack()
    {
        TAlarmForm* first = Popups->ShowAlarmPopup(u"09:30"_s, u"Dentist"_s);
        QPointer<TAlarmForm> alive(first);
        const int h = first->frameGeometry().height();
        QTest::mouseClick(first->findChild<QToolButton*>(u"CloseButton"_s), Qt::LeftButton);
        QTRY_VERIFY(alive.isNull());
        QVERIFY(Popups->Notes().empty());
        TAlarmForm* next = Popups->ShowAlarmPopup(u"09:31"_s, u"Lunch"_s);
        QCOMPARE(next->pos(), ScreenOrigin() + QPoint(0, h + 4));
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
        QCOMPARE(notes.front()->pos(), ScreenOrigin());

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
};

QTEST_MAIN(TestAlarmPopups)
#include "tst_AlarmPopups.moc"
