#include "platform/StayOnTop.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace
{

bool OnTop(const QWidget& window)
{
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint)
        && window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

class TEventCounter final : public QObject
{
public:
    int Hides = 0, Shows = 0, Moves = 0, Activations = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Hide:
            ++Hides;
            break;
        case QEvent::Show:
            ++Shows;
            break;
        case QEvent::Move:
        case QEvent::Resize:
            ++Moves;
            break;
        case QEvent::WindowActivate:
            ++Activations;
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

class TestStayOnTop : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aHiddenWindowIsLeftAsItIs()
    {
        QWidget window;
        SetStayOnTop(&window, true);
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isHidden());
        SetStayOnTop(nullptr, true);
    }

    void aShownWindowChangesBandWhereItIs()
    {
        QWidget window;
        window.setGeometry(120, 140, 320, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect frame = window.frameGeometry();
        const QRect client = window.geometry();
        const WId id = window.winId();

        SetStayOnTop(&window, true);
        QVERIFY(OnTop(window));
        QTest::qWait(100); // let the window system answer any move
        QVERIFY(window.isVisible());
        QCOMPARE(window.winId(), id);
        QCOMPARE(window.geometry(), client);
        QCOMPARE(window.frameGeometry(), frame);

        SetStayOnTop(&window, false);
        QTest::qWait(100);
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.winId(), id);
        QCOMPARE(window.geometry(), client);
    }

    // Hiding and showing again would move the window on some desktops and
    // activate it on others.
    void theWindowIsNeitherShownAgainNorActivated()
    {
        QWidget first;
        first.setGeometry(10, 10, 200, 150);
        first.show();
        QWidget second;
        second.setGeometry(260, 10, 200, 150);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QTest::qWait(100);
        QWidget* const active = QApplication::activeWindow();

        TEventCounter events;
        first.installEventFilter(&events);
        SetStayOnTop(&first, true);
        QTest::qWait(100);
        SetStayOnTop(&first, false);
        QTest::qWait(100);
        QCOMPARE(events.Hides, 0);
        QCOMPARE(events.Shows, 0);
        QCOMPARE(events.Moves, 0);
        QCOMPARE(events.Activations, 0);
        QCOMPARE(QApplication::activeWindow(), active);
    }
};

QTEST_MAIN(TestStayOnTop)
#include "tst_StayOnTop.moc"
