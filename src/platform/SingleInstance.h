#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One copy of the program per user. The first copy listens on a local socket;
// a later copy finds it, asks it to restore its window and ends.
class TSingleInstance final : public QObject
{
    Q_OBJECT
public:
    // The restore request a second copy sends.
    static constexpr int RestoreMessage = 1024;

    explicit TSingleInstance(QString serverName, QObject* parent = nullptr);
    ~TSingleInstance() override;

    // The per-user name of the program's server, named after its main window
    // class: in $XDG_RUNTIME_DIR when there is one, else a name with the user in it.
    static QString DefaultServerName();

    // True when a running copy answered and was asked to restore.
    bool SignalRunningInstance();
    // Starts listening; a server left behind by a crashed copy is removed first.
    bool Listen();

Q_SIGNALS:
    void RestoreRequested();

private:
    void ReadRequest();

    QString ServerName;
    QLocalServer* Server = nullptr;
};
