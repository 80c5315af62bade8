#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMutex>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <QVariantMap>
#include <vector>

// A notification server of the test's own on a private session bus: a
// dbus-daemon started for the test. It records the notices it is sent and
// plays the user, who chooses an action or closes a notice. It answers from a
// thread of its own, as the client's calls wait for the answer.
class TFakeNotificationServer final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct TNotice {
        uint Id;
        QString AppName, Icon, Summary, Body;
        QStringList Actions;
        QVariantMap Hints;
        int Timeout;
    };

    QStringList Capabilities { QStringLiteral("actions"), QStringLiteral("body") };

    ~TFakeNotificationServer() override
    {
        Thread.quit();
        Thread.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-notification-server"));
        Daemon.kill();
        Daemon.waitForFinished();
    }

    // The bus's address; empty when no bus could be started.
    QString Start(bool serve = true)
    {
        // A bus of its own with no display: a notification daemon it would
        // start in the test's place, before the test serves, cannot show.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        Daemon.setProcessEnvironment(environment);
        Daemon.start(QStringLiteral("dbus-daemon"),
            { QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address") });
        if (!Daemon.waitForStarted() || !Daemon.waitForReadyRead(5000))
            return {};
        Address = QString::fromUtf8(Daemon.readLine()).trimmed();
        return !serve || Serve() ? Address : QString();
    }
    // Takes the server's name on the bus: a server that comes late.
    bool Serve()
    {
        Thread.start();
        moveToThread(&Thread);
        Bus = QDBusConnection::connectToBus(Address, QStringLiteral("fake-notification-server"));
        return Bus.registerObject(Path, this, QDBusConnection::ExportAllSlots)
            && Bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

    std::vector<TNotice> Notices() const
    {
        QMutexLocker lock(&Lock);
        return FNotices;
    }
    std::vector<uint> ClosedByClient() const
    {
        QMutexLocker lock(&Lock);
        return FClosed;
    }

    void Invoke(uint id, const QString& action)
    {
        Emit(QStringLiteral("ActionInvoked"), id, action);
    }
    // 1 expired, 2 dismissed by the user, 3 closed by a client.
    void CloseNotice(uint id, uint reason)
    {
        Emit(QStringLiteral("NotificationClosed"), id, reason);
    }

public Q_SLOTS:
    QStringList GetCapabilities()
    {
        QMutexLocker lock(&Lock);
        return Capabilities;
    }
    uint Notify(const QString& appName, uint, const QString& icon, const QString& summary,
        const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout)
    {
        QMutexLocker lock(&Lock);
        FNotices.push_back({ NextId, appName, icon, summary, body, actions, hints, timeout });
        return NextId++;
    }
    void CloseNotification(uint id)
    {
        {
            QMutexLocker lock(&Lock);
            FClosed.push_back(id);
        }
        CloseNotice(id, 3);
    }
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion)
    {
        vendor = QStringLiteral("test");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("fake");
    }

private:
    template <typename T> void Emit(const QString& name, uint id, const T& value)
    {
        QDBusMessage signal = QDBusMessage::createSignal(
            Path, QStringLiteral("org.freedesktop.Notifications"), name);
        signal << id << value;
        Bus.send(signal);
    }

    const QString Path = QStringLiteral("/org/freedesktop/Notifications");
    QProcess Daemon;
    QString Address;
    QThread Thread;
    mutable QMutex Lock;
    std::vector<TNotice> FNotices;
    std::vector<uint> FClosed;
    QDBusConnection Bus { QString() };
    uint NextId = 7;
};
