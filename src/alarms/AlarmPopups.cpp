#include "alarms/AlarmPopups.h"

#include "alarms/AlarmForm.h"
#include "controls/Dialogues.h"
#include "controls/ProgramIcon.h"
#include "diary/DiaryEvent.h"
#include "platform/NoteWindow.h"
#include "platform/Notifications.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{

constexpr int IconSide = 64;
// How much of the edge a stack is taken to need when its corner is chosen.
constexpr int StackNotes = 3;
constexpr int MinWrapWidth = 400;

QString TimeOf(const TAlarmEvent& alarm)
{
    return QString::fromStdString(TimeText(alarm.Time));
}

void Erase(std::vector<QPointer<TAlarmForm>>& notes, const TAlarmForm* note)
{
    std::erase_if(notes,
        [note](const QPointer<TAlarmForm>& open) { return open.isNull() || open.data() == note; });
}

} // namespace

TAlarmPopups::TAlarmPopups(
    IDialogues& dialogues, std::function<QColor()> colourOverdue, QObject* parent)
    : QObject(parent)
    , Dialogues(dialogues)
    , ColourOverdue(std::move(colourOverdue))
{
}

TAlarmPopups::~TAlarmPopups()
{
    // Deleted at once rather than closed: the event loop may not run again.
    for (const QPointer<TAlarmForm>& note : Open)
        delete note.data();
}

void TAlarmPopups::UseNotifications(INotifications* notices, std::function<bool()> on)
{
    if (Notices)
        disconnect(Notices, nullptr, this, nullptr);
    Notices = notices;
    NoticesOn = std::move(on);
    if (!Notices)
        return;
    connect(Notices, &INotifications::ActionInvoked, this, &TAlarmPopups::ActionInvoked);
    connect(Notices, &INotifications::Dismissed, this, &TAlarmPopups::Dismissed);
}

TAlarmForm* TAlarmPopups::ShowAlarmPopup(const QString& timeText, const QString& message)
{
    TAlarmForm* note = MakeNote(timeText, message);
    PlaceAndShow(note);
    return note;
}

TAlarmForm* TAlarmPopups::MakeNote(const QString& timeText, const QString& message)
{
    std::erase_if(Open, [](const QPointer<TAlarmForm>& note) { return note.isNull(); });
    auto* note = new TAlarmForm(timeText, message, ColourOverdue());
    Open.emplace_back(note);
    connect(note, &TAlarmForm::Acknowledged, this, &TAlarmPopups::Acknowledged);
    connect(note, &TAlarmForm::Closing, this, [this, note] { NoteClosing(note); });
    return note;
}

void TAlarmPopups::PlaceAndShow(TAlarmForm* note)
{
    Place(note);
    KeepOutOfTaskbar(note);
    note->show();
}

TAlarmForm* TAlarmPopups::ShowAlarm(
    const TAlarmEvent& alarm, TRingKind kind, const QString& description)
{
    TAlarmForm* note = MakeNote(TimeOf(alarm), description);
    note->EnableSnooze(SnoozeMinutes);
    if (kind == TRingKind::Missed)
        note->MarkMissed(TimeOf(alarm));
    PlaceAndShow(note);
    AlarmNotes.emplace_back(note);
    connect(note, &TAlarmForm::SnoozeChosen, this, [this, alarm](int minutes) {
        SnoozeMinutes = minutes;
        Q_EMIT SnoozeRequested(alarm, minutes);
    });
    if (kind == TRingKind::Missed) {
        MissedNotes.emplace_back(note);
        return note;
    }
    const QString body = kind == TRingKind::Snoozed ? u"Alarm, snoozed"_s : u"Alarm"_s;
    if (const uint32_t id = Notify(AlarmTitle(alarm, description), body, true, true))
        Notified.push_back({ id, alarm, { note } });
    return note;
}

void TAlarmPopups::ShowReminder(const TAlarmEvent& alarm, int minutes, const QString& description)
{
    const QString text = ReminderText(minutes, alarm, description);
    if (const uint32_t id = Notify(text, QString(), false, false))
        Notified.push_back({ id, alarm, {} });
    else
        ShowAlarmPopup(QString(), text);
}

void TAlarmPopups::ShowMissed(
    const std::vector<TAlarmEvent>& alarms, const QStringList& descriptions)
{
    std::vector<QPointer<TAlarmForm>> notes = std::exchange(MissedNotes, {});
    if (alarms.empty())
        return;
    QStringList lines;
    for (size_t i = 0; i < alarms.size() && i < static_cast<size_t>(descriptions.size()); ++i)
        lines << AlarmTitle(alarms[i], descriptions[static_cast<qsizetype>(i)]);
    const QString summary
        = alarms.size() == 1 ? u"1 missed alarm"_s : u"%1 missed alarms"_s.arg(alarms.size());
    if (const uint32_t id = Notify(summary, lines.join(u'\n'), true, false))
        Notified.push_back({ id, alarms.front(), std::move(notes) });
}

QString TAlarmPopups::AlarmTitle(const TAlarmEvent& alarm, const QString& description)
{
    const QString time = TimeOf(alarm);
    return time.isEmpty() ? description : time + u' ' + description;
}

QString TAlarmPopups::ReminderText(
    int minutes, const TAlarmEvent& alarm, const QString& description)
{
    const QString lead = minutes == 1 ? u"In 1 minute"_s : u"In %1 minutes"_s.arg(minutes);
    return lead + u": "_s + AlarmTitle(alarm, description);
}

void TAlarmPopups::Place(TAlarmForm* note)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    // A long text wraps at half the screen, so the note stays a note.
    note->FitWithin(std::min(area.width(), std::max(area.width() / 2, MinWrapWidth)));
    const QSize size = note->frameGeometry().size();
    const bool first
        = std::none_of(Open.begin(), Open.end(), [note](const QPointer<TAlarmForm>& open) {
              return open && open != note && open->isVisible();
          });
    if (first) {
        Stack.Reset();
        // The first corner, in this order, whose stack keeps clear of the main window.
        const QRect avoid = Avoid ? Avoid() : QRect();
        const int length = std::min(area.height(), StackNotes * (size.height() + TPopupStack::Gap));
        int leastCovered = INT_MAX;
        for (const auto& [right, bottom] : { std::pair(true, true), std::pair(true, false),
                 std::pair(false, true), std::pair(false, false) }) {
            const QRect column(right ? area.right() + 1 - size.width() : area.left(),
                bottom ? area.bottom() + 1 - length : area.top(), size.width(), length);
            const QRect covered = column.intersected(avoid);
            const int coveredArea = covered.isEmpty() ? 0 : covered.width() * covered.height();
            if (coveredArea < leastCovered) {
                leastCovered = coveredArea;
                RightEdge = right;
                FromBottom = bottom;
            }
        }
    }
    const int offset = Stack.Place(size.height(), area.height());
    const int x = RightEdge ? area.right() + 1 - size.width() : area.left();
    const int y = FromBottom ? area.bottom() + 1 - offset - size.height() : area.top() + offset;
    note->move(std::max(x, area.left()), std::max(y, area.top()));
}

uint32_t TAlarmPopups::Notify(
    const QString& summary, const QString& body, bool critical, bool snooze)
{
    if (!Notices || !NoticesOn || !NoticesOn())
        return 0;
    INotifications::TNotice notice;
    notice.Summary = summary;
    notice.Body = body;
    notice.Critical = critical;
    notice.Actions.push_back({ u"default"_s, u"Show"_s });
    if (snooze)
        notice.Actions.push_back({ u"snooze"_s, u"Snooze"_s });
    if (critical)
        notice.Actions.push_back({ u"dismiss"_s, u"Dismiss"_s });
    notice.Image = TProgramIcon::Image(IconSide);
    return Notices->Notify(notice);
}

TAlarmPopups::TNotified* TAlarmPopups::Find(uint32_t id)
{
    const auto found = std::ranges::find(Notified, id, &TNotified::Id);
    return found == Notified.end() ? nullptr : &*found;
}

void TAlarmPopups::ActionInvoked(uint32_t id, const QString& action)
{
    const TNotified* notified = Find(id);
    if (!notified)
        return;
    const TAlarmEvent alarm = notified->Alarm;
    if (action == u"default"_s) {
        Q_EMIT ShowRequested(alarm);
        return;
    }
    if (action == u"snooze"_s)
        Q_EMIT SnoozeRequested(alarm, SnoozeMinutes);
    if (action == u"snooze"_s || action == u"dismiss"_s)
        Dismissed(id);
}

void TAlarmPopups::Dismissed(uint32_t id)
{
    const auto found = std::ranges::find(Notified, id, &TNotified::Id);
    if (found == Notified.end())
        return;
    const std::vector<QPointer<TAlarmForm>> notes = std::move(found->Notes);
    Notified.erase(found);
    for (const QPointer<TAlarmForm>& note : notes)
        if (note)
            note->close();
}

void TAlarmPopups::NoteClosing(TAlarmForm* note)
{
    Erase(AlarmNotes, note);
    Erase(MissedNotes, note);
    for (auto entry = Notified.begin(); entry != Notified.end();) {
        const bool had = std::ranges::any_of(
            entry->Notes, [note](const QPointer<TAlarmForm>& open) { return open == note; });
        Erase(entry->Notes, note);
        if (had && entry->Notes.empty()) {
            if (Notices)
                Notices->Close(entry->Id);
            entry = Notified.erase(entry);
        } else {
            ++entry;
        }
    }
}

void TAlarmPopups::MenuReminderClick()
{
    QString text;
    if (!Dialogues.InputQuery(u"Make a Stick-On Reminder Note"_s, u"Enter the Message"_s, text))
        return;
    if (text.isEmpty())
        return;
    ShowAlarmPopup(QString(), text);
}

void TAlarmPopups::CloseAll()
{
    for (const QPointer<TAlarmForm>& note : std::vector(Open))
        if (note)
            note->CloseQuietly();
}

void TAlarmPopups::CloseAlarms()
{
    for (const QPointer<TAlarmForm>& note : std::vector(AlarmNotes))
        if (note)
            note->CloseQuietly();
}

std::vector<TAlarmForm*> TAlarmPopups::Notes() const
{
    std::vector<TAlarmForm*> notes;
    for (const QPointer<TAlarmForm>& note : Open)
        if (note)
            notes.push_back(note.data());
    return notes;
}
