#include "platform/AfterFirstFrame.h"
#include "platform/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTrayIcon : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void whatIsToldBeforeTheIconIsMadeReachesIt()
    {
        TSystemTrayIcon tray;
        QMenu menu;
        const QIcon icon(QPixmap(16, 16));
        tray.SetIcon(icon);
        tray.SetToolTip(u"Talvo95"_s);
        tray.SetMenu(&menu);
        tray.Show();
        QVERIFY(tray.IsShown());
        QVERIFY(!tray.findChild<QSystemTrayIcon*>());

        tray.Make();
        tray.Make();
        const auto made = tray.findChildren<QSystemTrayIcon*>();
        QCOMPARE(made.size(), 1);
        QCOMPARE(made[0]->toolTip(), u"Talvo95"_s);
        QCOMPARE(made[0]->contextMenu(), &menu);
        QCOMPARE(made[0]->icon().cacheKey(), icon.cacheKey());
        QVERIFY(made[0]->isVisible());
        // After it is made, changes go straight to it.
        tray.SetToolTip(u"Talvo95: overdue"_s);
        tray.Hide();
        QCOMPARE(made[0]->toolTip(), u"Talvo95: overdue"_s);
        QVERIFY(!made[0]->isVisible() && !tray.IsShown());
    }

    void theWorkAfterTheFirstFrameRunsOnceTheWindowIsShown()
    {
        QWidget window;
        window.resize(100, 100);
        window.show();
        int runs = 0;
        AfterFirstFrame(window, &window, [&runs] { ++runs; });
        QCOMPARE(runs, 0);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(runs, 1);
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(20);
        QCOMPARE(runs, 1);
    }
};

QTEST_MAIN(TestTrayIcon)
#include "tst_TrayIcon.moc"
