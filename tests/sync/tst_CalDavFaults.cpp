// A fake server that answers badly: the sync ends, says what went wrong and
// deletes nothing in the diary.
#include "sync/MemoryDiary.h"
#include "sync/SyncRunner.h"
#include "sync/SyncTestSupport.h"

#include <QProcess>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>

namespace
{

const TSyncWindow Window { 2026, 12 };
using TAnswer = std::function<void(QTcpSocket&, const QByteArray& request)>;

QByteArray Http(const QByteArray& status, const QByteArray& body, const QByteArray& headers = {})
{
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n"
        + headers + "\r\n" + body;
}

const QByteArray EmptyListing = "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\">"
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
std::optional<QSslConfiguration> SelfSigned(const QTemporaryDir& folder)
{
    const QString key = folder.filePath(QStringLiteral("key.pem"));
    const QString certificate = folder.filePath(QStringLiteral("certificate.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
        { QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
            QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
            QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
            QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
            QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-keyout"), key,
            QStringLiteral("-out"), certificate });
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

} // namespace

class tst_CalDavFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<TSyncOutcome>(); }

    void badAnswersChangeNothing_data()
    {
        QTest::addColumn<TAnswer>("answer");
        QTest::addColumn<QString>("error");
        const auto reply = [](QByteArray text) {
            return TAnswer([text](QTcpSocket& s, const QByteArray&) { s.write(text); });
        };
        QTest::newRow("garbage") << reply(
            Http("207 Multi-Status", QByteArray("\x00\xff<<garbage", 11)))
                                 << QStringLiteral("could not be read");
        QTest::newRow("truncated XML") << reply(Http(
            "207 Multi-Status", "<d:multistatus xmlns:d=\"DAV:\"><d:response><d:href>/cal/a.ics"))
                                       << QStringLiteral("could not be read");
        QTest::newRow("wrong namespace")
            << reply(Http("207 Multi-Status", "<d:multistatus xmlns:d=\"urn:x\"></d:multistatus>"))
            << QStringLiteral("could not be read");
        QTest::newRow("500") << reply(Http("500 Internal Server Error", "oops"))
                             << QStringLiteral("(500)");
        QTest::newRow("empty listing")
            << reply(Http("207 Multi-Status", EmptyListing)) << QStringLiteral("listed no events");
        QTest::newRow("redirect to another host")
            << reply(Http("301 Moved", {}, "Location: http://calendar.example.com/cal/\r\n"))
            << QStringLiteral("another address");
        QTest::newRow("redirect loop") << reply(Http("302 Found", {}, "Location: /cal/\r\n"))
                                       << QStringLiteral("too many times");
        QTest::newRow("silent") << TAnswer([](QTcpSocket&, const QByteArray&) {})
                                << QStringLiteral("in time");
        QTest::newRow("endless") << TAnswer([](QTcpSocket& s, const QByteArray&) {
            s.write("HTTP/1.1 207 Multi-Status\r\nContent-Length: "
                    "100000000000\r\n\r\n<d:multistatus xmlns:d=\"DAV:\">");
            auto* more = new QTimer(&s);
            QObject::connect(
                more, &QTimer::timeout, &s, [&s] { s.write(QByteArray(64 * 1024, ' ')); });
            more->start(1);
        }) << QStringLiteral("too long");
        // The listing keeps changing its ETags and the events it then gives
        // are not iCalendar.
        QTest::newRow("wrong ETags") << TAnswer(
            [n = std::make_shared<int>(0)](QTcpSocket& s, const QByteArray& request) {
                const QByteArray tag = "\"" + QByteArray::number(++*n) + "\"";
                const QByteArray data = request.contains("calendar-multiget")
                    ? "<c:calendar-data>not iCalendar</c:calendar-data>"
                    : "";
                QByteArray body
                    = "<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">";
                for (const char* href : { "/cal/a.ics", "/cal/b.ics" })
                    body += QByteArray("<d:response><d:href>") + href
                        + "</d:href><d:propstat><d:prop><d:getetag>" + tag + "</d:getetag>" + data
                        + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
                s.write(Http("207 Multi-Status", body + "</d:multistatus>"));
            }) << QString();
    }
    void badAnswersChangeNothing()
    {
        QFETCH(TAnswer, answer);
        QFETCH(QString, error);
        TFakeServer server(answer);
        QTemporaryDir folder;
        const QString stateFile = folder.filePath(QStringLiteral("SYNC.DAT"));
        const std::vector<TSyncEvent> events { Ev("2026-12-24", 1800, "Heiligabend"),
            Ev("2027-01-06", 0, "Epiphany – Ἐπιφάνεια") };
        // The last sync knew both events: a listing that left them out could delete them.
        TSyncState state { "/cal/", "", Window, {} };
        state.Entries.push_back({ "a", "/cal/a.ics", "\"0\"", { FingerprintOf(events[0]) } });
        state.Entries.push_back({ "b", "/cal/b.ics", "\"0\"", { FingerprintOf(events[1]) } });
        QVERIFY(SaveSyncState(stateFile.toStdString(), state));

        TDevice device({ QUrl(server.Url()), {}, {}, false, {} },
            server.Url().mid(server.Url().indexOf(u"/cal")), Window, stateFile, events);
        device.Client.SetTimeout(400);
        device.Client.SetMaxAnswerBytes(1024 * 1024);
        const TSyncOutcome outcome = device.Run(20000);
        QCOMPARE(device.Diary.List, events);
        QVERIFY(server.Requests > 0);
        if (error.isEmpty()) {
            QVERIFY(outcome.Ok);
        } else {
            QVERIFY(!outcome.Ok);
            QVERIFY2(outcome.Error.contains(error), qPrintable(outcome.Error));
        }
    }

    // A certificate that does not check out ends the sync and is reported with
    // the certificate itself; trusted by its digest, the sync goes on; and an
    // encrypted request is never sent on in the clear.
    void certificatesAndRedirectsToPlainHttp_data()
    {
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<bool>("toPlainHttp");
        QTest::addColumn<QString>("error");
        QTest::newRow("untrusted") << false << false << QStringLiteral("certificate");
        QTest::newRow("trusted") << true << false << QString();
        QTest::newRow("redirect to http") << true << true << QStringLiteral("another address");
    }
    void certificatesAndRedirectsToPlainHttp()
    {
        QFETCH(bool, trusted);
        QFETCH(bool, toPlainHttp);
        QFETCH(QString, error);
        QTemporaryDir folder;
        const auto tls = SelfSigned(folder);
        if (!tls)
            QSKIP("openssl could not make a certificate");
        auto port = std::make_shared<quint16>(0);
        TFakeServer server(
            [toPlainHttp, port](QTcpSocket& s, const QByteArray&) {
                s.write(toPlainHttp ? Http("301 Moved", {},
                            "Location: http://127.0.0.1:" + QByteArray::number(*port) + "/cal/\r\n")
                                    : Http("207 Multi-Status", EmptyListing));
            },
            &*tls);
        *port = server.Port();
        const std::vector<TSyncEvent> events { Ev("2026-12-31", 2359, "Silvester  ünd Ölfest") };
        TDavAccount account { QUrl(server.Url()), {}, {}, false,
            trusted ? CertificateDigest(tls->localCertificate()) : QByteArray() };
        TDevice device(account, QStringLiteral("/cal/"), Window,
            folder.filePath(QStringLiteral("SYNC.DAT")), events);
        QSignalSpy refused(&device.Client, &TCalDavClient::CertificateError);
        const TSyncOutcome outcome = device.Run(20000);
        QCOMPARE(device.Diary.List, events);
        QCOMPARE(outcome.Ok, error.isEmpty());
        QVERIFY2(outcome.Error.contains(error), qPrintable(outcome.Error));
        QCOMPARE(refused.isEmpty(), trusted);
        if (!trusted) {
            QCOMPARE(refused.front().at(1).value<QSslCertificate>(), tls->localCertificate());
            QCOMPARE(server.Requests, 0);
        }
    }
};

Q_DECLARE_METATYPE(TAnswer)
QTEST_GUILESS_MAIN(tst_CalDavFaults)
#include "tst_CalDavFaults.moc"
