#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a signal on the GUI thread, so the
// program can save and end in order instead of dying with unsaved data.
// SIGXFSZ is ignored, so a file-size limit fails a write instead of ending
// the program.
class TTerminationWatcher final : public QObject
{
    Q_OBJECT
public:
    explicit TTerminationWatcher(QObject* parent = nullptr);
    ~TTerminationWatcher() override;

Q_SIGNALS:
    void TerminationRequested();

private:
    QSocketNotifier* Notifier = nullptr;
};
