#pragma once

#include "alarms/PopupStack.h"
#include "alarms/SecondTick.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <cstdint>
#include <functional>
#include <vector>

class IDialogues;
class INotifications;
class TAlarmForm;

// Opens the alarm notes and the stick-on notes and keeps track of them. The
// notes are windows of their own, with no parent, so they stay on screen while
// the main window hides in the tray; they all close when this object goes.
//
// With the desktop's notifications on, an alarm also shows as a notification
// with "Snooze" and "Dismiss"; closing the note or dismissing the notification
// closes the other, and a click on the notification asks for the alarm's day.
// Reminders and the list of missed alarms are notifications only, or notes
// where no notification can be shown.
class TAlarmPopups final : public QObject
{
    Q_OBJECT
public:
    // `colourOverdue` is asked for the time's colour each time a note opens, so
    // a changed setting shows on the next note.
    TAlarmPopups(
        IDialogues& dialogues, std::function<QColor()> colourOverdue, QObject* parent = nullptr);
    ~TAlarmPopups() override;

    // The notifications to use while `on` answers true.
    void UseNotifications(INotifications* notices, std::function<bool()> on);
    // What the notes keep clear of when they can: the main window.
    void KeepClearOf(std::function<QRect()> area) { Avoid = std::move(area); }
    // The snooze that a click on "Snooze" chooses.
    void SetSnoozeMinutes(int minutes) { SnoozeMinutes = minutes; }
    int DefaultSnooze() const { return SnoozeMinutes; }

    // Opens a note in a corner of the primary screen's free area, below (or
    // above) the last one. `timeText` is "hh:mm", or empty for a stick-on
    // note or an event without a time.
    TAlarmForm* ShowAlarmPopup(const QString& timeText, const QString& message);
    // An alarm ringing: its note, with "Snooze", and its notification.
    TAlarmForm* ShowAlarm(const TAlarmEvent& alarm, TRingKind kind, const QString& description);
    // "In 10 minutes: 14:30 Dentist".
    void ShowReminder(const TAlarmEvent& alarm, int minutes, const QString& description);
    // "3 missed alarms", listing them; their notes are open already.
    void ShowMissed(const std::vector<TAlarmEvent>& alarms, const QStringList& descriptions);
    // Asks for a text and opens a stick-on note with it; nothing for an empty text or Cancel.
    void MenuReminderClick();
    // Closes every open note without acknowledging anything.
    void CloseAll();
    // Closes the notes of alarms (not the stick-on notes) without acknowledging.
    void CloseAlarms();

    int NextPopupTop() const { return Stack.NextPopupTop(); }
    // The notes still open, oldest first.
    std::vector<TAlarmForm*> Notes() const;

    static QString AlarmTitle(const TAlarmEvent& alarm, const QString& description);
    static QString ReminderText(int minutes, const TAlarmEvent& alarm, const QString& description);

Q_SIGNALS:
    // A note was closed by the user, or its notification dismissed.
    void Acknowledged();
    void SnoozeRequested(const TAlarmEvent& alarm, int minutes);
    // A click on a notification: the alarm's day and row, please.
    void ShowRequested(const TAlarmEvent& alarm);

private:
    struct TNotified {
        uint32_t Id;
        TAlarmEvent Alarm;
        std::vector<QPointer<TAlarmForm>> Notes;
    };

    // A note, not yet placed nor shown.
    TAlarmForm* MakeNote(const QString& timeText, const QString& message);
    void PlaceAndShow(TAlarmForm* note);
    void Place(TAlarmForm* note);
    uint32_t Notify(const QString& summary, const QString& body, bool critical, bool snooze);
    void ActionInvoked(uint32_t id, const QString& action);
    void Dismissed(uint32_t id);
    void NoteClosing(TAlarmForm* note);
    TNotified* Find(uint32_t id);

    IDialogues& Dialogues;
    std::function<QColor()> ColourOverdue;
    std::function<QRect()> Avoid;
    INotifications* Notices = nullptr;
    std::function<bool()> NoticesOn;
    int SnoozeMinutes = 10;
    TPopupStack Stack;
    // The corner the stack grows from: right or left, from the top or the bottom.
    bool RightEdge = false;
    bool FromBottom = false;
    std::vector<QPointer<TAlarmForm>> Open;
    std::vector<QPointer<TAlarmForm>> AlarmNotes;
    // The notes of missed alarms, until their list is told.
    std::vector<QPointer<TAlarmForm>> MissedNotes;
    std::vector<TNotified> Notified;
};
