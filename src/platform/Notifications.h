#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <utility>

class TNotificationsProxy;

// The desktop's notifications: notices that its notification server shows,
// with buttons ("actions") where the server offers them. The program talks to
// this seam; tests use a fake or a server of their own.
class INotifications : public QObject
{
    Q_OBJECT
public:
    struct TNotice {
        QString Summary;
        // Plain text; made safe for servers that read markup.
        QString Body;
        // Stays until the user closes it, above other notices.
        bool Critical = false;
        // Pairs of an action's key and its label; "default" is a click on the
        // notice itself.
        QList<std::pair<QString, QString>> Actions;
        QImage Image;
    };

    using QObject::QObject;
    // The notice's id, or 0 when no server showed it.
    virtual uint32_t Notify(const TNotice& notice) = 0;
    // Takes a notice of ours off the screen.
    virtual void Close(uint32_t id) = 0;

Q_SIGNALS:
    // The user chose an action of a notice of ours.
    void ActionInvoked(uint32_t id, const QString& action);
    // The user closed a notice of ours (not an expiry, nor Close).
    void Dismissed(uint32_t id);
};

// The freedesktop.org notification service on the session bus, or on the bus
// at `busAddress`. Nothing touches the bus before the first notice. Without a
// bus or a server a notice is simply not shown, and that is said once on the
// error output; the server is asked again at each notice, so one started
// later is used.
class TDesktopNotifications final : public INotifications
{
    Q_OBJECT
public:
    explicit TDesktopNotifications(QString busAddress = {}, QObject* parent = nullptr);
    ~TDesktopNotifications() override;

    uint32_t Notify(const TNotice& notice) override;
    void Close(uint32_t id) override;
    // The server's capabilities, as it told them at the last notice.
    QStringList Capabilities() const { return FCapabilities; }

    static constexpr int CallTimeout = 2000; // milliseconds
    static constexpr const char* ApplicationName = "Talvo95";
    static constexpr const char* DesktopEntry = "com.quorral.Talvo95";

private:
    bool Connect();
    void Closed(uint32_t id, uint32_t reason);
    void Invoked(uint32_t id, const QString& action);
    void Report(const QString& why);
    // The connection of its own to a bus given by address.
    QString ConnectionName() const;

    QString BusAddress;
    std::unique_ptr<TNotificationsProxy> Proxy;
    QStringList FCapabilities;
    // The ids of our notices still shown: the server's signals go to every client.
    QSet<uint32_t> Shown;
    bool Reported = false;
};
