#include "platform/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstring>
#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{

// A raw client, to send what no copy of the program would.
int ConnectTo(const QString& name)
{
    const QByteArray path = QFile::encodeName(name);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void Send(int fd, const QByteArray& data)
{
    QCOMPARE(::send(fd, data.constData(), size_t(data.size()), MSG_NOSIGNAL), data.size());
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aSecondCopyAsksTheFirstToRestore()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(u"TTalvoForm"_s);
        TSingleInstance first(name);
        QVERIFY(!first.SignalRunningInstance()); // nobody there yet
        QVERIFY(first.Listen());
        QSignalSpy restores(&first, &TSingleInstance::RestoreRequested);

        TSingleInstance second(name);
        QVERIFY(second.SignalRunningInstance());
        QTRY_COMPARE(restores.count(), 1);
        TSingleInstance third(name);
        QVERIFY(third.SignalRunningInstance());
        QTRY_COMPARE(restores.count(), 2);
    }

    void aServerLeftByACrashDoesNotBlockTheNextStart()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(u"TTalvoForm"_s);
        // What a killed copy leaves behind: the socket's name with nobody listening.
        QFile leftover(name);
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        TSingleInstance next(name);
        QVERIFY(!next.SignalRunningInstance());
        QVERIFY(next.Listen());
        QSignalSpy restores(&next, &TSingleInstance::RestoreRequested);
        TSingleInstance later(name);
        QVERIFY(later.SignalRunningInstance());
        QTRY_COMPARE(restores.count(), 1);
    }

    void aSocketLeftByACrashIsReplacedButALiveOneIsNot()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(u"TTalvoForm"_s);
        {
            // A killed copy's socket: bound, then closed without removing its name.
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path, QFile::encodeName(name).constData(),
                size_t(QFile::encodeName(name).size()));
            QCOMPARE(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
            QCOMPARE(::listen(fd, 1), 0);
            ::close(fd);
        }
        QVERIFY(QFileInfo::exists(name));
        auto first = std::make_unique<TSingleInstance>(name);
        QVERIFY(!first->SignalRunningInstance());
        QVERIFY(first->Listen());
        QSignalSpy restores(first.get(), &TSingleInstance::RestoreRequested);
        // A copy that starts to listen without asking first leaves the live one alone.
        TSingleInstance intruder(name);
        QVERIFY(!intruder.Listen());
        TSingleInstance second(name);
        QVERIFY(second.SignalRunningInstance());
        QTRY_COMPARE(restores.count(), 1);
        // A clean end takes the name away with it.
        first.reset();
        QVERIFY(!QFileInfo::exists(name));
    }

    void requestsArriveInPiecesOrAmongGarbage()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(u"TTalvoForm"_s);
        TSingleInstance server(name);
        QVERIFY(server.Listen());
        QSignalSpy restores(&server, &TSingleInstance::RestoreRequested);

        // One that connects and never speaks blocks nobody.
        const int silent = ConnectTo(name);
        QVERIFY(silent >= 0);
        const int split = ConnectTo(name);
        Send(split, "10");
        QTest::qWait(50);
        QCOMPARE(restores.count(), 0);
        Send(split, "24\n");
        QTRY_COMPARE(restores.count(), 1);

        const int garbage = ConnectTo(name);
        Send(garbage, QByteArray("hello\n\0\xff\n1023\n", 14) + QByteArray(4096, 'x'));
        // The same line twice in one piece is two requests.
        Send(split, " 1024\n1024\n");
        QTRY_COMPARE(restores.count(), 3);
        for (int fd : { silent, split, garbage })
            ::close(fd);
        TSingleInstance later(name);
        QVERIFY(later.SignalRunningInstance());
        QTRY_COMPARE(restores.count(), 4);
        QTest::qWait(50);
        QCOMPARE(restores.count(), 4);
    }

    void commandsCarryTheRestOfTheLineAsTheirArgument()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(u"TTalvoForm"_s);
        TSingleInstance server(name);
        QVERIFY(server.Listen());
        QSignalSpy restores(&server, &TSingleInstance::RestoreRequested);
        QSignalSpy commands(&server, &TSingleInstance::CommandReceived);
        TSingleInstance client(name);
        const struct {
            QString Command;
            QString Argument;
            bool Sent;
        } cases[] = {
            { u"import"_s, u"/home/me/My Events -1 \u00e9t\u00e9.ics"_s, true },
            { u"restore"_s, {}, true },
            { u"zap"_s, {}, true },
            { u"import"_s, u"two\nlines.ics"_s, false },
            { u"two words"_s, {}, false },
            { {}, u"/a.ics"_s, false },
            { u"import"_s, QString(TSingleInstance::MaxLine, u'x'), false },
        };
        for (const auto& c : cases)
            QCOMPARE(client.SendToRunningInstance(c.Command, c.Argument), c.Sent);
        QTRY_COMPARE(commands.count(), 2);
        QCOMPARE(restores.count(), 1);
        QCOMPARE(commands[0], (QVariantList { u"import"_s, cases[0].Argument }));
        QCOMPARE(commands[1], (QVariantList { u"zap"_s, QString() }));
    }

    void aQuestionIsAnsweredOrGivenUpAfterItsWait()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(u"TTalvoForm"_s);
        // The asker blocks, so it asks from a thread of its own while this one serves.
        const auto ask = [&name](int waitMs) {
            auto reply = std::async(std::launch::async, [name, waitMs] {
                return TSingleInstance(name).AskRunningInstance(u"save"_s, waitMs);
            });
            while (reply.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            return reply.get();
        };
        QVERIFY(!ask(5000).Running);

        TSingleInstance server(name);
        QVERIFY(server.Listen());
        QString answer;
        connect(&server, &TSingleInstance::SaveRequested, this,
            [&answer](const TSingleInstance::TAnswer& reply) {
                if (!answer.isEmpty())
                    QTimer::singleShot(50, [reply, answer] { reply(answer); });
            });
        const struct {
            QString Given;
            std::optional<QString> Heard;
        } cases[] = {
            { u"saved"_s, u"saved"_s },
            { u"failed the diary: disk full \u00e9t\u00e9\nsecond line"_s,
                u"failed the diary: disk full \u00e9t\u00e9 second line"_s },
            { {}, std::nullopt }, // a copy that never answers
        };
        for (const auto& c : cases) {
            answer = c.Given;
            QElapsedTimer waited;
            waited.start();
            const TSingleInstance::TReply reply = ask(c.Heard ? 5000 : 300);
            QVERIFY(reply.Running);
            QCOMPARE(reply.Answer, c.Heard);
            QVERIFY(waited.elapsed() < 4000);
        }
    }

    void theServerLivesInAFolderOnlyTheUserCanUse()
    {
        QTemporaryDir scratch;
        const QString runtime = scratch.filePath(u"run"_s), temp = scratch.filePath(u"tmp"_s),
                      cache = scratch.filePath(u"cache"_s);
        QVERIFY(QDir().mkpath(runtime) && QDir().mkpath(temp) && QDir().mkpath(cache));
        const QByteArray saved[3]
            = { qgetenv("XDG_RUNTIME_DIR"), qgetenv("TMPDIR"), qgetenv("XDG_CACHE_HOME") };
        qputenv("TMPDIR", temp.toLocal8Bit());
        qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        const auto open = [](const QString& path) {
            return QFile::setPermissions(path,
                QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                    | QFile::ExeOther);
        };
        QVERIFY(
            QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString first = TSingleInstance::PrivateFolder();
        // A runtime folder others can enter is passed over for one made private.
        QVERIFY(open(runtime));
        const QString second = TSingleInstance::PrivateFolder();
        const QString own = temp + u"/Talvo95-"_s + QString::number(::geteuid());
        QVERIFY(QFile::setPermissions(own,
            QFile::ReadOwner | QFile::ReadOther | QFile::WriteOwner | QFile::ExeOwner
                | QFile::ExeOther));
        const QString third = TSingleInstance::PrivateFolder();
        qputenv("XDG_RUNTIME_DIR", saved[0]);
        qputenv("TMPDIR", saved[1]);
        qputenv("XDG_CACHE_HOME", saved[2]);
        QCOMPARE(first, runtime);
        QCOMPARE(second, own);
        QCOMPARE(
            QFileInfo(own).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::ReadOther);
        QCOMPARE(third, cache + u"/Talvo95"_s);
    }

    void theServerIsPerUser()
    {
        const QString name = TSingleInstance::DefaultServerName();
        QVERIFY(name.contains(u"TTalvoForm"_s));
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (!runtime.isEmpty())
            QVERIFY(name.startsWith(runtime));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
