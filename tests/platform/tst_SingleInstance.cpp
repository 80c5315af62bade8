#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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
