#include "app/Autosaver.h"

#include "controls/Dialogues.h"
#include "session/DataSession.h"

#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace
{

// "Diary not saved: <why>. Trying again shortly."
QString NotSavedText(const std::vector<TSaveFailure>& failures)
{
    QStringList parts;
    for (const TSaveFailure& failure : failures)
        parts << u"%1 not saved: %2"_s.arg(failure.Kind == dkDiary ? u"Diary"_s : u"Notes"_s,
            SaveFailureReason(failure.Result, failure.Error));
    return parts.join(u". "_s) + u". Trying again shortly."_s;
}

} // namespace

TAutosaver::TAutosaver(
    TDataSession& session, std::function<void(const QString&)> report, QObject* parent)
    : QObject(parent)
    , Session(session)
    , Report(std::move(report))
{
    Clock.start();
    Timer = new QTimer(this);
    Timer->setObjectName(u"AutosaveTimer"_s);
    Timer->setSingleShot(true);
    connect(Timer, &QTimer::timeout, this, &TAutosaver::SaveIfDue);
}

void TAutosaver::Changed()
{
    Policy.Changed(Now());
    // A write running now comes back here when it ends.
    if (!Session.SavingInBackground())
        Schedule();
}

void TAutosaver::Clear()
{
    Policy.Clear();
    Timer->stop();
    if (std::exchange(Reported, false))
        Report(QString());
}

void TAutosaver::Schedule()
{
    const std::optional<int64_t> due = Policy.DueAt();
    if (!due) {
        Timer->stop();
        return;
    }
    Timer->start(static_cast<int>(std::max<int64_t>(*due - Now(), 0)));
}

void TAutosaver::SaveIfDue()
{
    if (Session.SavingInBackground())
        return;
    if (!Session.Loaded()) {
        // Freed: the exit saved it, or a load replaces it.
        Policy.Clear();
        return;
    }
    Started = Now();
    if (!Policy.Due(Started)) {
        Schedule();
        return;
    }
    TDataSession::TSnapshot snapshot = Session.Snapshot(TSaveMode::InPassing);
    if (!snapshot.Diary && !snapshot.Notes) {
        Written();
        return;
    }
    // This thread hears of the end through its event queue. The window's
    // session waits for the write before the window lets go of this object.
    Session.SaveInBackground(std::move(snapshot),
        [this] { QMetaObject::invokeMethod(this, &TAutosaver::Written, Qt::QueuedConnection); });
}

void TAutosaver::Written()
{
    // Hiding or the exit may have taken the outcome already, and reported it.
    const std::vector<TSaveFailure> failures
        = Session.FinishBackground().value_or(std::vector<TSaveFailure> {});
    if (failures.empty()) {
        Policy.Saved(Started, Session.Unsaved(dkDiary) || Session.Unsaved(dkNotes));
        if (std::exchange(Reported, false))
            Report(QString());
        Q_EMIT Saved();
    } else {
        Policy.Failed(Now());
        // Said once; the next hide or exit shows the box.
        if (!std::exchange(Reported, true))
            Report(NotSavedText(failures));
    }
    Schedule();
}
