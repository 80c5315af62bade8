#include "platform/SingleInstance.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

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

QByteArray RequestLine()
{
    return QByteArray::number(TSingleInstance::RestoreMessage) + '\n';
}

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

// Only a server run by the same user is answered: another user could have put
// one where ours was expected.
bool PeerIsSameUser(qintptr descriptor)
{
#ifdef SO_PEERCRED
    struct ucred peer {
    };
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
        && peer.uid == ::geteuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(static_cast<int>(descriptor), &uid, &gid) == 0 && uid == ::geteuid();
#endif
}
#endif

} // namespace

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent)
    , ServerName(std::move(serverName))
{
}

TSingleInstance::~TSingleInstance() = default;

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
    QString user = qEnvironmentVariable("USERNAME");
    return u"TTalvoForm-"_s + user;
#endif
}

bool TSingleInstance::SignalRunningInstance()
{
    if (ServerName.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(ServerName);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
#ifdef Q_OS_UNIX
    if (!PeerIsSameUser(socket.socketDescriptor())) {
        socket.abort();
        return false;
    }
#endif
    socket.write(RequestLine());
    socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(ConnectTimeoutMs);
    return true;
}

bool TSingleInstance::Listen()
{
    if (ServerName.isEmpty())
        return false;
    Server = new QLocalServer(this);
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(Server, &QLocalServer::newConnection, this, &TSingleInstance::ReadRequest);
    if (Server->listen(ServerName))
        return true;
    // Nobody answered a moment ago, so the socket is a crashed copy's leftover.
    QLocalServer::removeServer(ServerName);
    return Server->listen(ServerName);
}

void TSingleInstance::ReadRequest()
{
    while (QLocalSocket* socket = Server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine())
                if (socket->readLine().trimmed().toInt() == RestoreMessage)
                    Q_EMIT RestoreRequested();
        });
    }
}
