#include "platform/ClockWatcher.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestClockWatcher : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aNewZoneLinkInTheWatchedFolderIsAZoneAndClockChange()
    {
        QTemporaryDir folder;
        TClockWatcher watcher({ folder.path() });
        QSignalSpy zones(&watcher, &TClockWatcher::ZoneChanged);
        QSignalSpy clocks(&watcher, &TClockWatcher::ClockChanged);
        QVERIFY(QFile::link(u"/usr/share/zoneinfo/UTC"_s, folder.filePath(u"localtime"_s)));
        QTRY_VERIFY(zones.count() >= 1);
        QVERIFY(clocks.count() >= 1);
    }

    void aQuietClockSaysNothing()
    {
        TClockWatcher watcher(QStringList {});
        QSignalSpy clocks(&watcher, &TClockWatcher::ClockChanged);
        QTest::qWait(200);
        QCOMPARE(clocks.count(), 0);
    }
};

QTEST_MAIN(TestClockWatcher)
#include "tst_ClockWatcher.moc"
