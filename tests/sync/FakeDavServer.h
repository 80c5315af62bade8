#pragma once

#include <QFile>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>

// A calendar server of a test's own on the loopback address, plain or over
// TLS, that answers as the test says.

using TAnswer = std::function<void(QTcpSocket&, const QByteArray& request)>;

inline QByteArray Http(
    const QByteArray& status, const QByteArray& body, const QByteArray& headers = {})
{
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n"
        + headers + "\r\n" + body;
}

inline const QByteArray EmptyListing = "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\">"
                                       "<d:sync-token>t</d:sync-token></d:multistatus>";

// Answers each request (head and body read whole) as the test says; over
// TLS when given a configuration.
class TFakeServer : public QObject
{
public:
    explicit TFakeServer(TAnswer answer, const QSslConfiguration* tls = nullptr)
        : Answer(std::move(answer))
    {
        if (tls) {
            auto* secure = new QSslServer(this);
            secure->setSslConfiguration(*tls);
            Server = secure;
        } else {
            Server = new QTcpServer(this);
        }
        Server->listen(QHostAddress::LocalHost);
        const auto take = [this] {
            while (QTcpSocket* socket = Server->nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(*socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        };
        connect(Server, &QTcpServer::pendingConnectionAvailable, this, take);
        connect(Server, &QTcpServer::newConnection, this, take);
    }
    QString Url() const
    {
        return QStringLiteral("%1://127.0.0.1:%2/cal/")
            .arg(qobject_cast<QSslServer*>(Server) ? u"https" : u"http")
            .arg(Server->serverPort());
    }
    quint16 Port() const { return Server->serverPort(); }
    int Requests = 0;

private:
    void Read(QTcpSocket& socket)
    {
        QByteArray& buffer = Buffers[&socket];
        buffer += socket.readAll();
        const qsizetype head = buffer.indexOf("\r\n\r\n");
        if (head < 0)
            return;
        const QByteArray lower = buffer.left(head).toLower();
        const qsizetype at = lower.indexOf("content-length:");
        const qsizetype length = at < 0
            ? 0
            : lower.mid(at + 15, lower.indexOf('\r', at) - at - 15).trimmed().toLongLong();
        if (buffer.size() < head + 4 + length)
            return;
        const QByteArray request = buffer.left(head + 4 + length);
        buffer.remove(0, head + 4 + length);
        ++Requests;
        Answer(socket, request);
    }

    QTcpServer* Server;
    TAnswer Answer;
    std::map<QTcpSocket*, QByteArray> Buffers;
};

// A certificate of the test's own for 127.0.0.1, signed by itself.
inline std::optional<QSslConfiguration> SelfSigned(const QTemporaryDir& folder)
{
    const QString key = folder.filePath(QStringLiteral("key.pem"));
    const QString certificate = folder.filePath(QStringLiteral("certificate.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
        { QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
            QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
            QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
            QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
            QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-keyout"), key, QStringLiteral("-out"),
            certificate });
    if (!openssl.waitForFinished(20000) || openssl.exitCode() != 0)
        return std::nullopt;
    QFile keyFile(key);
    QFile certificateFile(certificate);
    if (!keyFile.open(QIODevice::ReadOnly) || !certificateFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setPrivateKey(QSslKey(keyFile.readAll(), QSsl::Ec));
    tls.setLocalCertificate(QSslCertificate(certificateFile.readAll()));
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    return tls;
}
