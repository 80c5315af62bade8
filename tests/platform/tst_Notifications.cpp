#include "platform/FakeNotificationServer.h"
#include "platform/Notifications.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

INotifications::TNotice Notice(const QString& summary, const QString& body, bool critical)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return { summary, body, critical, { { u"default"_s, u"Show"_s }, { u"snooze"_s, u"Snooze"_s } },
        image };
}

} // namespace

// The desktop's notification server on a private bus, played by the test.
class TestNotifications : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void noticesCarryTheirTextsActionsUrgencyAndIconAsTheServerCanShowThem()
    {
        const struct {
            QStringList Capabilities;
            bool Critical;
            QString Body, SentBody;
            QStringList Actions;
            uchar Urgency;
            int Timeout;
        } cases[] = {
            { { u"actions"_s, u"body"_s }, true, u"Tom & <Jerry>"_s, u"Tom & <Jerry>"_s,
                { u"default"_s, u"Show"_s, u"snooze"_s, u"Snooze"_s }, 2, 0 },
            { { u"body"_s, u"body-markup"_s }, false, u"Tom & <Jerry>"_s,
                u"Tom &amp; &lt;Jerry&gt;"_s, {}, 1, -1 },
            { {}, true, QString(), QString(), {}, 2, 0 },
        };
        for (const auto& test : cases) {
            TFakeNotificationServer server;
            server.Capabilities = test.Capabilities;
            const QString bus = server.Start();
            QVERIFY(!bus.isEmpty());
            TDesktopNotifications notifications(bus);
            const QString summary = u"14:30 Zahnarzt \u00c4rger \u0141\u00f3d\u017a \u20ac"_s;
            const uint32_t id = notifications.Notify(Notice(summary, test.Body, test.Critical));
            QCOMPARE(id, 7u);
            QCOMPARE(server.Notices().size(), 1u);
            const auto sent = server.Notices().front();
            QCOMPARE(sent.AppName, u"Talvo95"_s);
            QCOMPARE(sent.Icon, u"com.quorral.Talvo95"_s);
            QCOMPARE(sent.Summary, summary);
            QCOMPARE(sent.Body, test.SentBody);
            QCOMPARE(sent.Actions, test.Actions);
            QCOMPARE(sent.Hints.value(u"urgency"_s).value<uchar>(), test.Urgency);
            QCOMPARE(sent.Hints.value(u"desktop-entry"_s).toString(), u"com.quorral.Talvo95"_s);
            QVERIFY(sent.Hints.contains(u"image-data"_s));
            QCOMPARE(sent.Timeout, test.Timeout);
        }
    }

    void onlyTheUsersChoicesOnOurOwnNoticesComeBack()
    {
        TFakeNotificationServer server;
        TDesktopNotifications notifications(server.Start());
        QSignalSpy invoked(&notifications, &INotifications::ActionInvoked);
        QSignalSpy dismissed(&notifications, &INotifications::Dismissed);
        const uint32_t first = notifications.Notify(Notice(u"First"_s, {}, true));
        const uint32_t second = notifications.Notify(Notice(u"Second"_s, {}, true));
        const uint32_t third = notifications.Notify(Notice(u"Third"_s, {}, false));

        server.Invoke(first, u"snooze"_s);
        server.Invoke(99, u"snooze"_s); // another program's
        QTRY_COMPARE(invoked.count(), 1);
        QCOMPARE(invoked.front(), (QVariantList { first, u"snooze"_s }));

        server.CloseNotice(first, 1); // expired: not the user's doing
        server.CloseNotice(99, 2);
        server.CloseNotice(second, 2);
        QTRY_COMPARE(dismissed.count(), 1);
        QCOMPARE(dismissed.front().front().toUInt(), second);

        notifications.Close(third);
        notifications.Close(second); // gone already: not asked again
        QTRY_COMPARE(server.ClosedByClient(), std::vector<uint> { third });
        server.Invoke(third, u"default"_s);
        QTest::qWait(100);
        QCOMPARE(invoked.count(), 1);
        QCOMPARE(dismissed.count(), 1);
    }

    void withoutABusOrAServerNothingIsShownUntilAServerComes()
    {
        TDesktopNotifications nowhere(u"unix:path=/nonexistent/talvo-bus"_s);
        QCOMPARE(nowhere.Notify(Notice(u"Lost"_s, {}, true)), 0u);

        TFakeNotificationServer server;
        const QString bus = server.Start(false);
        QVERIFY(!bus.isEmpty());
        TDesktopNotifications notifications(bus);
        QCOMPARE(notifications.Notify(Notice(u"Early"_s, {}, true)), 0u);
        QVERIFY(server.Serve());
        QCOMPARE(notifications.Notify(Notice(u"Late"_s, {}, true)), 7u);
        QCOMPARE(server.Notices().back().Summary, u"Late"_s);
    }
};

QTEST_MAIN(TestNotifications)
#include "tst_Notifications.moc"
