#include "platform/SingleInstance.h"

#include <QByteArray>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

using namespace Qt::StringLiterals;

namespace
{

constexpr int ConnectTimeoutMs = 500;

QByteArray RequestLine()
{
    return QByteArray::number(TSingleInstance::RestoreMessage) + '\n';
}

} // namespace

TSingleInstance::TSingleInstance(QString serverName, QObject* parent)
    : QObject(parent)
    , ServerName(std::move(serverName))
{
}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::DefaultServerName()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(u"TTalvoForm"_s);
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return u"TTalvoForm-"_s + user;
}

bool TSingleInstance::SignalRunningInstance()
{
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
}

bool TSingleInstance::Listen()
{
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
