#include "platform/SingleInstance.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <vector>
#else
#include <QLocalServer>
#include <QLocalSocket>
#endif

using namespace Qt::StringLiterals;

namespace
{

constexpr int ConnectTimeoutMs = 500;

QByteArray RequestLine()
{
    return QByteArray::number(TSingleInstance::RestoreMessage) + '\n';
}

bool IsRestoreRequest(const QByteArray& line)
{
    return line.trimmed().toInt() == TSingleInstance::RestoreMessage;
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

// Only a copy run by the same user is talked to: another user could have put a
// server where ours was expected.
bool PeerIsSameUser(int descriptor)
{
#ifdef SO_PEERCRED
    struct ucred peer {
    };
    socklen_t size = sizeof peer;
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
        && peer.uid == ::geteuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(descriptor, &uid, &gid) == 0 && uid == ::geteuid();
#endif
}

// A socket closed with its owner.
class TDescriptor
{
public:
    TDescriptor() = default;
    explicit TDescriptor(int fd)
        : Fd(fd)
    {
    }
    TDescriptor(TDescriptor&& other) noexcept
        : Fd(std::exchange(other.Fd, -1))
    {
    }
    TDescriptor& operator=(TDescriptor&& other) noexcept
    {
        std::swap(Fd, other.Fd);
        return *this;
    }
    ~TDescriptor()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
    int Get() const { return Fd; }
    explicit operator bool() const { return Fd >= 0; }

private:
    int Fd = -1;
};

TDescriptor NewSocket()
{
    return TDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

// False for a name too long for a socket address.
bool AddressOf(const QByteArray& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

// 0 once connected, else the reason. A server whose queue is full is waited
// for up to `timeoutMs`.
int Connect(const sockaddr_un& address, TDescriptor& socket, int timeoutMs)
{
    socket = NewSocket();
    if (!socket)
        return errno;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address)
            == 0)
            return 0;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EAGAIN || std::chrono::steady_clock::now() >= deadline)
            return error;
        ::poll(nullptr, 0, 10);
    }
}

bool SendAll(int socket, const QByteArray& data, int timeoutMs)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t count
            = ::send(socket, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (count > 0) {
            sent += count;
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        pollfd ready { socket, POLLOUT, 0 };
        if (count == 0 || errno != EAGAIN || ::poll(&ready, 1, timeoutMs) <= 0)
            return false;
    }
    return true;
}
#endif

} // namespace

#ifdef Q_OS_UNIX
struct TSingleInstance::TServer {
    // A copy that has connected and may still be sending.
    struct TClient {
        TDescriptor Socket;
        QSocketNotifier* Notifier = nullptr; // deleted later: it may be in its own signal
        QByteArray Pending; // the start of a line not yet ended
    };
    // Enough for any request; more without a line end is no request.
    static constexpr qsizetype MaxLine = 64;
    // Copies that connect but say nothing are let go after a while, and only
    // so many are kept.
    static constexpr int ClientTimeoutMs = 5000;
    static constexpr size_t MaxClients = 8;

    TServer(TSingleInstance& owner, TDescriptor listener, QByteArray path)
        : Owner(owner)
        , Listener(std::move(listener))
        , Path(std::move(path))
        , Acceptor(new QSocketNotifier(Listener.Get(), QSocketNotifier::Read, &owner))
    {
        struct stat info {
        };
        if (::stat(Path.constData(), &info) == 0)
            Inode = { info.st_dev, info.st_ino };
        QObject::connect(Acceptor, &QSocketNotifier::activated, &owner, [this] { Accept(); });
    }

    ~TServer()
    {
        delete Acceptor;
        for (TClient& client : Clients)
            delete client.Notifier;
        // Our socket's name goes with us, unless another copy has taken it since.
        struct stat info {
        };
        if (::stat(Path.constData(), &info) == 0 && Inode.first == info.st_dev
            && Inode.second == info.st_ino)
            ::unlink(Path.constData());
    }

    void Accept()
    {
        for (;;) {
            TDescriptor socket(
                ::accept4(Listener.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
            if (!socket) {
                if (errno == EINTR || errno == ECONNABORTED)
                    continue;
                return;
            }
            if (!PeerIsSameUser(socket.Get()))
                continue;
            if (Clients.size() >= MaxClients)
                Drop(Clients.front().Notifier);
            auto* notifier = new QSocketNotifier(socket.Get(), QSocketNotifier::Read, &Owner);
            QObject::connect(notifier, &QSocketNotifier::activated, &Owner,
                [this, notifier] { Read(notifier); });
            QTimer::singleShot(ClientTimeoutMs, notifier, [this, notifier] { Drop(notifier); });
            Clients.push_back({ std::move(socket), notifier, {} });
        }
    }

    void Read(QSocketNotifier* notifier)
    {
        const auto client = Find(notifier);
        if (client == Clients.end())
            return;
        int requests = 0;
        bool done = false;
        char buffer[256];
        // A bounded share of the GUI thread per wake-up, however much is sent.
        for (int chunk = 0; chunk < 16; ++chunk) {
            const ssize_t count = ::read(client->Socket.Get(), buffer, sizeof buffer);
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0) {
                done = errno != EAGAIN;
                break;
            }
            if (count == 0) {
                done = true;
                break;
            }
            client->Pending.append(buffer, count);
            qsizetype end = 0;
            while ((end = client->Pending.indexOf('\n')) >= 0) {
                requests += IsRestoreRequest(client->Pending.left(end)) ? 1 : 0;
                client->Pending.remove(0, end + 1);
            }
            if (client->Pending.size() > MaxLine) {
                done = true;
                break;
            }
        }
        if (done)
            Drop(notifier);
        for (int i = 0; i < requests; ++i)
            Q_EMIT Owner.RestoreRequested();
    }

    void Drop(QSocketNotifier* notifier)
    {
        const auto client = Find(notifier);
        if (client == Clients.end())
            return;
        notifier->setEnabled(false);
        notifier->deleteLater();
        Clients.erase(client);
    }

    std::vector<TClient>::iterator Find(const QSocketNotifier* notifier)
    {
        for (auto client = Clients.begin(); client != Clients.end(); ++client)
            if (client->Notifier == notifier)
                return client;
        return Clients.end();
    }

    TSingleInstance& Owner;
    TDescriptor Listener;
    QByteArray Path;
    std::pair<dev_t, ino_t> Inode {};
    QSocketNotifier* Acceptor;
    std::vector<TClient> Clients;
};
#else
struct TSingleInstance::TServer {
    explicit TServer(TSingleInstance& owner)
        : Server(new QLocalServer(&owner))
    {
        Server->setSocketOptions(QLocalServer::UserAccessOption);
        QObject::connect(Server, &QLocalServer::newConnection, &owner, [this, &owner] {
            while (QLocalSocket* socket = Server->nextPendingConnection()) {
                QObject::connect(
                    socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                QObject::connect(socket, &QLocalSocket::readyRead, &owner, [socket, &owner] {
                    while (socket->canReadLine())
                        if (IsRestoreRequest(socket->readLine()))
                            Q_EMIT owner.RestoreRequested();
                });
            }
        });
    }

    QLocalServer* Server;
};
#endif

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
#ifdef Q_OS_UNIX
    sockaddr_un address;
    TDescriptor socket;
    return AddressOf(QFile::encodeName(ServerName), address)
        && Connect(address, socket, ConnectTimeoutMs) == 0 && PeerIsSameUser(socket.Get())
        && SendAll(socket.Get(), RequestLine(), ConnectTimeoutMs);
#else
    QLocalSocket socket;
    socket.connectToServer(ServerName);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write(RequestLine());
    socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(ConnectTimeoutMs);
    return true;
#endif
}

bool TSingleInstance::Listen()
{
    if (ServerName.isEmpty() || Server)
        return false;
#ifdef Q_OS_UNIX
    // Made ready under a name of its own, then put in place in one step: the
    // name never leads to a socket nobody listens on yet, and a replaced
    // leftover is never mistaken for the new socket.
    const QByteArray path = QFile::encodeName(ServerName);
    const QByteArray ready = path + '.' + QByteArray::number(::getpid());
    sockaddr_un address, readyAddress;
    TDescriptor listener = NewSocket();
    if (!AddressOf(path, address) || !AddressOf(ready, readyAddress) || !listener)
        return false;
    ::unlink(ready.constData());
    if (::bind(
            listener.Get(), reinterpret_cast<const sockaddr*>(&readyAddress), sizeof readyAddress)
        != 0)
        return false;
    bool placed = ::chmod(ready.constData(), 0600) == 0 && ::listen(listener.Get(), SOMAXCONN) == 0;
    if (placed && ::link(ready.constData(), path.constData()) != 0) {
        // A name nobody answers on is a crashed copy's leftover; a live copy keeps its own.
        TDescriptor probe;
        placed = errno == EEXIST && Connect(address, probe, 0) == ECONNREFUSED
            && ::rename(ready.constData(), path.constData()) == 0;
    }
    ::unlink(ready.constData());
    if (!placed)
        return false;
    Server = std::make_unique<TServer>(*this, std::move(listener), path);
    return true;
#else
    Server = std::make_unique<TServer>(*this);
    if (Server->Server->listen(ServerName))
        return true;
    // Nobody answered a moment ago, so the pipe is a crashed copy's leftover.
    QLocalServer::removeServer(ServerName);
    if (Server->Server->listen(ServerName))
        return true;
    Server.reset();
    return false;
#endif
}
