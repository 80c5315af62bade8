// The sync against a real Radicale, started by radicale.sh, and a second
// CalDAV client (python3-caldav) beside it.
#include "sync/MemoryDiary.h"
#include "sync/SyncRunner.h"
#include "sync/SyncTestSupport.h"

#include <QProcess>
#include <QUuid>
#include <csignal>

namespace
{

const TSyncWindow Window { 2026, 12 };

QStringList Texts(const TMemoryDiary& diary)
{
    QStringList texts;
    for (const TSyncEvent& e : diary.Sorted())
        texts.push_back(QString::fromStdString(std::to_string(e.Date.Month) + "/"
            + std::to_string(e.Date.Day) + " " + TimeText(e.Time) + " " + e.Description + " "
            + std::to_string(e.Type) + std::to_string(e.Locked)));
    return texts;
}

} // namespace

class tst_CalDavServer : public QObject
{
    Q_OBJECT

    TDavAccount Account;
    QString Collection;
    QTemporaryDir Folder;

    QString StateOf(const QString& device) const
    {
        return Folder.filePath(device + QStringLiteral(".sync"));
    }

    // A new calendar of its own for each test.
    void MakeCalendar()
    {
        const QString user = Account.User.isEmpty() ? QStringLiteral("talvo") : Account.User;
        Collection
            = QStringLiteral("/%1/%2/").arg(user, QUuid::createUuid().toString(QUuid::Id128));
        TCalDavClient client(Account);
        for (const QByteArray& method : { QByteArray("MKCOL"), QByteArray("MKCALENDAR") }) {
            QSignalSpy done(&client, &QObject::destroyed);
            bool ended = false;
            int status = 0;
            const QString path = method == "MKCOL" ? QStringLiteral("/%1/").arg(user) : Collection;
            client.Send(method, path, {}, {}, [&](const TDavReply& reply) {
                ended = true;
                status = reply.Status;
            });
            QTRY_VERIFY_WITH_TIMEOUT(ended, 10000);
            QVERIFY2(status == 201 || method == "MKCOL", qPrintable(QString::number(status)));
        }
    }

    QString Peer(const QStringList& arguments)
    {
        QProcess peer;
        QUrl url = Account.Url;
        url.setPath(Collection);
        url.setUserName(Account.User);
        url.setPassword(Account.Password);
        peer.start(QStringLiteral("/usr/bin/python3"),
            QStringList { QStringLiteral(TALVO_SYNC_TESTS "/caldav_peer.py"), url.toString() }
                + arguments);
        if (!peer.waitForFinished(30000) || peer.exitCode() != 0)
            qWarning() << peer.readAllStandardError();
        return QString::fromUtf8(peer.readAllStandardOutput()).trimmed();
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<TSyncOutcome>();
        if (qEnvironmentVariableIsEmpty("TALVO_CALDAV_URL"))
            QSKIP("needs the server that radicale.sh starts");
        Account.Url = QUrl(qEnvironmentVariable("TALVO_CALDAV_URL"));
        Account.User = qEnvironmentVariable("TALVO_CALDAV_USER");
        Account.Password = qEnvironmentVariable("TALVO_CALDAV_PASSWORD");
    }

    void init() { MakeCalendar(); }

    // First, while the user has one calendar only.
    void thePasswordPath()
    {
        if (Account.User.isEmpty())
            QSKIP("needs the server with passwords (radicale.sh --auth)");
        // From the server's root the calendar is found through the principal.
        TDavAccount root = Account;
        TDevice found(root, QString(), Window, StateOf(QStringLiteral("root")),
            { Ev("2027-06-01", 700, "Found") });
        QVERIFY(found.Run().Ok);
        QCOMPARE(found.Sync.CollectionPath(), QString::fromUtf8(QUrl(Collection).toEncoded()));

        TDavAccount wrong = Account;
        wrong.Password = QStringLiteral("not-the-password");
        TDevice refused(wrong, Collection, Window, StateOf(QStringLiteral("wrong")),
            { Ev("2027-06-02", 700, "Kept") });
        const TSyncOutcome outcome = refused.Run();
        QVERIFY(!outcome.Ok);
        QVERIFY(outcome.LoginRefused);
        QVERIFY2(outcome.Error.contains(QStringLiteral("user name or password")),
            qPrintable(outcome.Error));
        QVERIFY(!outcome.Error.contains(Account.Password));
        QCOMPARE(refused.Diary.List.size(), 1u);

        TDavAccount nobody = Account;
        nobody.User.clear();
        nobody.Password.clear();
        TDevice anonymous(nobody, Collection, Window, StateOf(QStringLiteral("nobody")));
        const TSyncOutcome asked = anonymous.Run();
        QCOMPARE(asked.Error, QStringLiteral("The server asks for a user name and password."));
        QVERIFY(!asked.LoginRefused);
    }

    void twoDiariesStayInStepThroughEditsAndAConflict()
    {
        TDevice a(Account, Collection, Window, StateOf(QStringLiteral("a")),
            { Ev("2026-12-09", 930, "Dentist", etAlarm), Ev("2027-01-01", 0, "Neujahr – Frühstück"),
                Ev("2027-07-04", 0, "Birthday Zoë", etAlarm, 1),
                Ev("2027-03-03", 1745, "Done – ½ €", etTicked) });
        TDevice b(Account, Collection, Window, StateOf(QStringLiteral("b")));
        QVERIFY(a.Run().Ok);
        QCOMPARE(a.Run().Sent, 0u); // nothing left to send
        QVERIFY(b.Run().Ok);
        QCOMPARE(Texts(b.Diary), Texts(a.Diary));

        // Changed and deleted in A, added in B.
        a.Diary.List[0].Time = 1000;
        a.Diary.List.erase(a.Diary.List.begin() + 3);
        b.Diary.List.push_back(Ev("2027-02-14", 1900, "Dinner für zwei"));
        QVERIFY(a.Run().Ok);
        QVERIFY(b.Run().Ok);
        QVERIFY(a.Run().Ok);
        QCOMPARE(Texts(b.Diary), Texts(a.Diary));
        QCOMPARE(b.Diary.List.size(), 4u);

        // Changed on both: the first sync's version takes the place, the
        // other stays beside it.
        auto dentist = [](TMemoryDiary& diary) -> TSyncEvent& {
            return *std::find_if(diary.List.begin(), diary.List.end(),
                [](const TSyncEvent& e) { return e.Description.starts_with("Dentist"); });
        };
        dentist(a.Diary).Description = "Dentist (A)";
        dentist(b.Diary).Description = "Dentist (B)";
        QVERIFY(a.Run().Ok);
        const TSyncOutcome conflict = b.Run();
        QVERIFY(conflict.Ok);
        QCOMPARE(conflict.Conflicts, 1u);
        QVERIFY(a.Run().Ok);
        QCOMPARE(Texts(b.Diary), Texts(a.Diary));
        const auto texts = Texts(a.Diary);
        QCOMPARE(texts.count(QStringLiteral("12/9 10:00 Dentist (A) 10")), 1);
        QCOMPARE(texts.count(QStringLiteral("12/9 10:00 Dentist (B) (conflict) 10")), 1);
    }

    void aLostStateFileDuplicatesNothing()
    {
        TDevice a(Account, Collection, Window, StateOf(QStringLiteral("lost")),
            { Ev("2026-11-30", 800, "Früh"), Ev("2027-10-31", 2359, "Spät") });
        QVERIFY(a.Run().Ok);
        QVERIFY(QFile::remove(StateOf(QStringLiteral("lost"))));
        const TSyncOutcome again = a.Run();
        QVERIFY(again.Ok);
        QCOMPARE(again.Sent, 0u);
        QCOMPARE(again.Received, 0u);
        QCOMPARE(a.Diary.List.size(), 2u);
        QCOMPARE(Peer({ QStringLiteral("list") }).split(u'\n').size(), 2);
    }

    void aTokenTheServerForgotFallsBackToTheListing()
    {
        const QString file = StateOf(QStringLiteral("token"));
        TDevice a(Account, Collection, Window, file, { Ev("2027-08-08", 1515, "Token") });
        QVERIFY(a.Run().Ok);
        TSyncState state = LoadSyncState(file.toStdString());
        QVERIFY(!state.Token.empty());
        state.Token = "http://radicale.org/ns/sync/forgotten";
        QVERIFY(SaveSyncState(file.toStdString(), state));
        const TSyncOutcome outcome = a.Run();
        QVERIFY2(outcome.Ok, qPrintable(outcome.Error));
        QCOMPARE(outcome.Sent + outcome.Received + outcome.Deleted, 0u);
        QVERIFY(LoadSyncState(file.toStdString()).Token != state.Token);
    }

    void anotherClientSeesTheDiaryAndTheDiaryIt()
    {
        TDevice a(Account, Collection, Window, StateOf(QStringLiteral("peer")),
            { Ev("2027-04-01", 1200, "From the diary") });
        QVERIFY(a.Run().Ok);
        Peer({ QStringLiteral("add"), QStringLiteral("peer-1"), QStringLiteral("20270402T083000"),
            QStringLiteral("From the phone") });
        const TSyncOutcome outcome = a.Run();
        QVERIFY(outcome.Ok);
        QCOMPARE(outcome.Received, 1u); // by the sync token: the one change only
        QCOMPARE(Texts(a.Diary),
            QStringList({ QStringLiteral("4/1 12:00 From the diary 00"),
                QStringLiteral("4/2 08:30 From the phone 00") }));
        QCOMPARE(Peer({ QStringLiteral("list") }),
            QStringLiteral("2027-04-01 12:00 From the diary\n2027-04-02 08:30 From the phone"));
    }

    void aServerOutageLosesNothing()
    {
        const qint64 pid = qEnvironmentVariableIntValue("TALVO_RADICALE_PID");
        if (pid <= 0)
            QSKIP("needs the server's process");
        TDevice a(Account, Collection, Window, StateOf(QStringLiteral("outage")),
            { Ev("2027-05-05", 900, "Before") });
        QVERIFY(a.Run().Ok);
        a.Diary.List.push_back(Ev("2027-05-06", 900, "While it was down"));
        a.Client.SetTimeout(500);
        ::kill(static_cast<pid_t>(pid), SIGSTOP);
        const TSyncOutcome down = a.Run();
        ::kill(static_cast<pid_t>(pid), SIGCONT);
        QVERIFY(!down.Ok);
        QVERIFY2(down.Error.contains(QStringLiteral("in time")), qPrintable(down.Error));
        QCOMPARE(a.Diary.List.size(), 2u);
        a.Client.SetTimeout(5000);
        QVERIFY(a.Run().Ok);
        TDevice b(Account, Collection, Window, StateOf(QStringLiteral("outage-b")));
        QVERIFY(b.Run().Ok);
        QCOMPARE(Texts(b.Diary), Texts(a.Diary));
    }
};

QTEST_GUILESS_MAIN(tst_CalDavServer)
#include "tst_CalDavServer.moc"
