#pragma once

#include <QObject>
#include <QString>
#include <memory>

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
    // class, in PrivateFolder; empty when there is no such folder (the program
    // then runs without the one-copy guard).
    static QString DefaultServerName();
    // A folder only this user can make things in: $XDG_RUNTIME_DIR, else
    // "<temp>/Talvo95-<uid>", else "<cache>/Talvo95". Each must be a real folder
    // (no link) owned by the user with no rights for anyone else; a missing one
    // is made so.
    static QString PrivateFolder();

    // True when a running copy of this user answered and was asked to restore;
    // a server run by anyone else is not trusted. Waits half a second at most.
    bool SignalRunningInstance();
    // Starts listening; a server left behind by a crashed copy (nobody answers
    // on it) is removed first, a live one is left alone.
    bool Listen();

Q_SIGNALS:
    void RestoreRequested();

private:
    // The listening socket and the copies talking to it: a plain Unix socket,
    // so the program needs no network library; a named pipe on Windows.
    struct TServer;

    QString ServerName;
    std::unique_ptr<TServer> Server;
};
