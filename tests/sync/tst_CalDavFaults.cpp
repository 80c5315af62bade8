// A fake server that answers badly: the sync ends, says what went wrong and
// deletes nothing in the diary.
#include "sync/FakeDavServer.h"
#include "sync/MemoryDiary.h"
#include "sync/SyncRunner.h"
#include "sync/SyncTestSupport.h"

namespace
{

const TSyncWindow Window { 2026, 12 };
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
