#pragma once

#include "session/AutosavePolicy.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>

class QTimer;
class TDataSession;

// Saves the session's data by itself as the policy says: the texts are taken
// on the window's thread without disturbing the pages, then formatted and
// written on a thread of their own, while the user types on. A failure is
// told once (`report` shows a word in the status bar; an empty word takes it
// back) and tried again later. Hiding and the exit save as before, waiting
// for a write that is running, and then clear what waits here.
class TAutosaver final : public QObject
{
    Q_OBJECT

public:
    TAutosaver(TDataSession& session, std::function<void(const QString&)> report,
        QObject* parent = nullptr);

    // A change of either file: the save is put off until the typing pauses.
    void Changed();
    // Everything was saved some other way, or read from the files.
    void Clear();
    bool Pending() const { return Policy.DueAt().has_value(); }
    // Starts the save now if one is due (the timer's handler).
    void SaveIfDue();

Q_SIGNALS:
    // A write in the background ended well.
    void Saved();

private:
    void Schedule();
    // The write on the other thread ended: its outcome, on this thread.
    void Written();
    int64_t Now() const { return Clock.elapsed(); }

    TDataSession& Session;
    std::function<void(const QString&)> Report;
    TAutosavePolicy Policy;
    QElapsedTimer Clock;
    QTimer* Timer = nullptr;
    int64_t Started = 0;
    bool Reported = false;
};
