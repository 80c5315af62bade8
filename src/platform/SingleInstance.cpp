#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace
{

constexpr int ConnectTimeoutMs = 500;
// Copies that connect but say nothing are let go after a while, and only so
// many are kept.
constexpr int MaxClients = 8;

#ifdef Q_OS_UNIX
bool IsPrivateFolder(const QString& path)
{
    struct stat info {
    };
    const QByteArray name = QFile::encodeName(path);
    return !path.isEmpty() && ::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// The folder made for the user when it is missing; an existing one must already be private.
bool MakePrivateFolder(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return IsPrivateFolder(path);
}

std::pair<quint64, quint64> InodeOf(const QByteArray& path)
{
    struct stat info {
    };
    if (::stat(path.constData(), &info) != 0)
        return {};
    return { info.st_dev, info.st_ino };
}
#endif

// Only a copy run by the same user is talked to: another user could have put a
// server where ours was expected, or connect to ours.
bool PeerIsSameUser([[maybe_unused]] const QLocalSocket& socket)
{
#if defined(Q_OS_UNIX) && defined(SO_PEERCRED)
    struct ucred peer {
    };
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
        && peer.uid == ::geteuid();
#elif defined(Q_OS_UNIX)
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(int(socket.socketDescriptor()), &uid, &gid) == 0 && uid == ::geteuid();
#else
    // A named pipe made with UserAccessOption admits this user alone.
    return true;
#endif
}

} // namespace

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent)
    , ServerName(std::move(serverName))
{
}

TSingleInstance::~TSingleInstance()
{
    delete Server;
#ifdef Q_OS_UNIX
    // Our socket's name goes with us, unless another copy has taken it since.
    if (!PlacedPath.isEmpty() && InodeOf(PlacedPath) == PlacedInode)
        ::unlink(PlacedPath.constData());
#endif
}

QString TSingleInstance::PrivateFolder()
{
#ifdef Q_OS_UNIX
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime))
        return runtime;
    const QString own = QDir::tempPath() + u"/Talvo95-%1"_s.arg(::geteuid());
    if (MakePrivateFolder(own))
        return own;
    // Someone else took that name: a folder in the user's home instead.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache) && MakePrivateFolder(cache + u"/Talvo95"_s))
        return cache + u"/Talvo95"_s;
    return {};
#else
    return QDir::tempPath();
#endif
}

QString TSingleInstance::DefaultServerName()
{
#ifdef Q_OS_UNIX
    const QString folder = PrivateFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(u"TTalvoForm"_s);
#else
    // A named pipe, which the server makes for this user alone.
    return u"TTalvoForm-"_s + qEnvironmentVariable("USERNAME");
#endif
}

bool TSingleInstance::Send(QLocalSocket& socket, const QString& command, const QString& argument)
{
    QByteArray line = command.toUtf8();
    if (!argument.isEmpty())
        line += ' ' + argument.toUtf8();
    line += '\n';
    if (ServerName.isEmpty() || command.isEmpty() || command.contains(u' ') || line.count('\n') != 1
        || line.size() > MaxLine)
        return false;
    socket.connectToServer(ServerName);
    if (!socket.waitForConnected(ConnectTimeoutMs) || !PeerIsSameUser(socket))
        return false;
    socket.write(line);
    return socket.waitForBytesWritten(ConnectTimeoutMs) || socket.bytesToWrite() == 0;
}

bool TSingleInstance::SendToRunningInstance(const QString& command, const QString& argument)
{
    QLocalSocket socket;
    if (!Send(socket, command, argument))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(ConnectTimeoutMs);
    return true;
}

TSingleInstance::TReply TSingleInstance::AskRunningInstance(const QString& command, int waitMs)
{
    QLocalSocket socket;
    TReply reply;
    reply.Running = Send(socket, command, {});
    if (!reply.Running)
        return reply;
    const QDeadlineTimer deadline(waitMs);
    while (!socket.canReadLine() && socket.bytesAvailable() <= MaxLine
        && socket.state() == QLocalSocket::ConnectedState && !deadline.hasExpired())
        socket.waitForReadyRead(int(deadline.remainingTime()));
    if (socket.canReadLine())
        reply.Answer = QString::fromUtf8(socket.readLine(MaxLine + 1)).trimmed();
    return reply;
}

bool TSingleInstance::Listen()
{
    if (ServerName.isEmpty() || Server)
        return false;
    auto server = std::make_unique<QLocalServer>(this);
#ifdef Q_OS_UNIX
    // Made ready under a name of its own, then put in place in one step: the
    // name never leads to a socket nobody listens on yet, and a replaced
    // leftover is never mistaken for the new socket.
    const QByteArray path = QFile::encodeName(ServerName);
    const QByteArray ready = path + '.' + QByteArray::number(::getpid());
    ::unlink(ready.constData());
    if (!server->listen(QFile::decodeName(ready)))
        return false;
    bool placed = ::chmod(ready.constData(), 0600) == 0;
    if (placed && ::link(ready.constData(), path.constData()) != 0) {
        // A name nobody answers on is a crashed copy's leftover; a live copy keeps its own.
        const bool taken = errno == EEXIST;
        QLocalSocket probe;
        probe.connectToServer(ServerName);
        placed = taken && !probe.waitForConnected(ConnectTimeoutMs)
            && probe.error() == QLocalSocket::ConnectionRefusedError
            && ::rename(ready.constData(), path.constData()) == 0;
    }
    ::unlink(ready.constData());
    if (!placed)
        return false;
    PlacedPath = path;
    PlacedInode = InodeOf(path);
#else
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(ServerName)) {
        // Nobody answered a moment ago, so the pipe is a crashed copy's leftover.
        QLocalServer::removeServer(ServerName);
        if (!server->listen(ServerName))
            return false;
    }
#endif
    Server = server.release();
    connect(Server, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    return true;
}

void TSingleInstance::Accept()
{
    while (QLocalSocket* socket = Server->nextPendingConnection()) {
        if (!PeerIsSameUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const QList<QLocalSocket*> clients = Server->findChildren<QLocalSocket*>();
        if (clients.size() > MaxClients)
            clients.front()->abort();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequests(socket); });
        auto* timeout = new QTimer(socket);
        timeout->setSingleShot(true);
        connect(timeout, &QTimer::timeout, socket, &QLocalSocket::abort);
        timeout->start(ClientTimeoutMs);
        ReadRequests(socket);
    }
}

void TSingleInstance::ReadRequests(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(MaxLine + 1);
        if (!line.endsWith('\n')) {
            socket->abort();
            return;
        }
        const QString request = QString::fromUtf8(line.chopped(1)).trimmed();
        const qsizetype space = request.indexOf(u' ');
        const QString command = request.left(space);
        const QString argument = space < 0 ? QString() : request.mid(space + 1);
        if (command == u"restore"_s || command == QString::number(RestoreMessage)) {
            Q_EMIT RestoreRequested();
        } else if (command == u"save"_s) {
            // The asker waits for the answer, and the connection waits as long.
            if (auto* timeout = socket->findChild<QTimer*>())
                timeout->start(AnswerWaitMs);
            const QPointer<QLocalSocket> asker(socket);
            Q_EMIT SaveRequested([asker](const QString& answer) {
                if (asker)
                    asker->write(answer.toUtf8().replace('\n', ' ') + '\n');
            });
        } else if (!command.isEmpty()) {
            Q_EMIT CommandReceived(command, argument);
        }
    }
    // More than a line's worth with no line end is no request.
    if (socket->bytesAvailable() > MaxLine)
        socket->abort();
}
