#include "alarms/AlarmPopups.h"

#include "alarms/AlarmForm.h"
#include "controls/Dialogues.h"

#include <QGuiApplication>
#include <QScreen>
#include <utility>

using namespace Qt::StringLiterals;

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

TAlarmForm* TAlarmPopups::ShowAlarmPopup(const QString& timeText, const QString& message)
{
    std::erase_if(Open, [](const QPointer<TAlarmForm>& note) { return note.isNull(); });

    auto* note = new TAlarmForm(timeText, message, ColourOverdue());
    Open.emplace_back(note);
    connect(note, &TAlarmForm::Acknowledged, this, &TAlarmPopups::Acknowledged);

    // Screen coordinates start at the primary screen's top-left corner.
    QPoint origin;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        origin = screen->geometry().topLeft();
    note->move(origin + QPoint(0, Stack.Place(note->frameGeometry().height())));
    note->show();
    return note;
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
    for (const QPointer<TAlarmForm>& note : Open)
        if (note)
            note->close();
}

std::vector<TAlarmForm*> TAlarmPopups::Notes() const
{
    std::vector<TAlarmForm*> notes;
    for (const QPointer<TAlarmForm>& note : Open)
        if (note)
            notes.push_back(note.data());
    return notes;
}
