// A fake server that answers badly: the sync ends, says what went wrong and
// deletes nothing in the diary.
#include "sync/MemoryDiary.h"
#include "sync/SyncRunner.h"
#include "sync/SyncTestSupport.h"

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

// Answers each request (head and body read whole) as the test says.
class TFakeServer : public QObject
{
public:
    explicit TFakeServer(TAnswer answer)
        : Answer(std::move(answer))
    {
        Server.listen(QHostAddress::LocalHost);
        connect(&Server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = Server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(*socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString Url() const
    {
        return QStringLiteral("http://127.0.0.1:%1/cal/").arg(Server.serverPort());
    }
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

    QTcpServer Server;
    TAnswer Answer;
    std::map<QTcpSocket*, QByteArray> Buffers;
};

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

        TDevice device({ QUrl(server.Url()), {}, {}, false },
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
};

Q_DECLARE_METATYPE(TAnswer)
QTEST_GUILESS_MAIN(tst_CalDavFaults)
#include "tst_CalDavFaults.moc"
