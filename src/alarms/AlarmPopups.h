#pragma once

#include "alarms/PopupStack.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class IDialogues;
class TAlarmForm;

// Opens the alarm notes and the stick-on notes and keeps track of them. The
// notes are windows of their own, with no parent, so they stay on screen while
// the main window hides in the tray; they all close when this object goes.
class TAlarmPopups final : public QObject
{
    Q_OBJECT
public:
    // `colourOverdue` is asked for the time's colour each time a note opens, so
    // a changed setting shows on the next note.
    TAlarmPopups(
        IDialogues& dialogues, std::function<QColor()> colourOverdue, QObject* parent = nullptr);
    ~TAlarmPopups() override;

    // Opens a note at the left edge of the primary screen, below the last one.
    // `timeText` is "hh:mm", or empty for a stick-on note or an event without a time.
    TAlarmForm* ShowAlarmPopup(const QString& timeText, const QString& message);
    // Asks for a text and opens a stick-on note with it; nothing for an empty text or Cancel.
    void MenuReminderClick();
    // Closes every open note without acknowledging anything.
    void CloseAll();

    int NextPopupTop() const { return Stack.NextPopupTop(); }
    // The notes still open, oldest first.
    std::vector<TAlarmForm*> Notes() const;

Q_SIGNALS:
    // The close button of a note was pressed.
    void Acknowledged();

private:
    IDialogues& Dialogues;
    std::function<QColor()> ColourOverdue;
    TPopupStack Stack;
    std::vector<QPointer<TAlarmForm>> Open;
};
