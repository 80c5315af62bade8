#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

class QLocalServer;
class QLocalSocket;

// One copy of the program per user. The first copy listens on a local socket
// in a folder only the user can use; a later copy finds it, sends it a request
// and ends. A server run by another user is never talked to, and a socket left
// by a crashed copy is replaced.
//
// A request is one line of UTF-8 ending in LF: a command word, then, for the
// commands that take one, a space and the argument (the rest of the line,
// which holds no LF), at most MaxLine bytes in all:
//   restore              show the window (also "1024", the restore message
//                        number older copies send)
//   save                 write the data now, so that files read next hold
//                        what the user sees; answered on the same connection
//                        with one line: "saved", or "failed " and why
//   <word> <argument>    any other command is reported by CommandReceived
//                        (for example "import /home/me/Event.ics"); one that
//                        nobody knows is ignored
// A connection may carry several requests; it is closed after a line longer
// than MaxLine, and after ClientTimeoutMs (AnswerWaitMs once it asked a question).
class TSingleInstance final : public QObject
{
    Q_OBJECT
public:
    static constexpr int RestoreMessage = 1024;
    static constexpr qsizetype MaxLine = 4096 + 64;
    static constexpr int ClientTimeoutMs = 5000;
    static constexpr int AnswerWaitMs = 10'000;
    // Gives the answer to a question, one line, on the connection it came by;
    // once the asker has gone it goes nowhere.
    using TAnswer = std::function<void(const QString& line)>;
    struct TReply {
        bool Running = false;
        // The answer; nothing when no copy runs or it did not answer in time.
        std::optional<QString> Answer;
    };

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

    // True when a running copy of this user answered and was sent the request;
    // a server run by anyone else is not trusted. Waits half a second at most.
    // False, sending nothing, for a command or argument that would break the line.
    bool SendToRunningInstance(const QString& command, const QString& argument = {});
    bool SignalRunningInstance() { return SendToRunningInstance(QStringLiteral("restore")); }
    // Asks a running copy a question and waits up to `waitMs` for its answer.
    TReply AskRunningInstance(const QString& command, int waitMs = AnswerWaitMs);
    // Starts listening; a server left behind by a crashed copy (nobody answers
    // on it) is removed first, a live one is left alone.
    bool Listen();

Q_SIGNALS:
    void RestoreRequested();
    // A request other than "restore" and "save", as the command word and its argument.
    void CommandReceived(const QString& command, const QString& argument);
    // "save"; unanswered when nobody listens to it.
    void SaveRequested(const TSingleInstance::TAnswer& answer);

private:
    // Connected to a running copy of this user, with the request sent.
    bool Send(QLocalSocket& socket, const QString& command, const QString& argument);
    void Accept();
    void ReadRequests(QLocalSocket* socket);

    QString ServerName;
    QLocalServer* Server = nullptr;
    // The socket's file, to remove at the end unless another copy took the name.
    QByteArray PlacedPath;
    std::pair<quint64, quint64> PlacedInode {};
};
