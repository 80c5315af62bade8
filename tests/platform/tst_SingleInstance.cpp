#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Qt::StringLiterals;

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
