#include "platform/Notifications.h"

#include <cstdio>

#ifdef TALVO_HAVE_QTDBUS
#include <QDBusAbstractInterface>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace
{

// The "image-data" hint: width, height, row stride, alpha, bits per sample,
// channels and the bytes, row by row in RGBA order.
struct TImageData {
    QImage Image;
};

QDBusArgument& operator<<(QDBusArgument& argument, const TImageData& data)
{
    const QImage image = data.Image.convertToFormat(QImage::Format_RGBA8888);
    argument.beginStructure();
    argument << image.width() << image.height() << static_cast<int>(image.bytesPerLine()) << true
             << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(image.constBits()),
                    static_cast<qsizetype>(image.sizeInBytes()));
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, TImageData&)
{
    return argument; // never received
}

constexpr uint32_t ReasonDismissed = 2;

} // namespace

Q_DECLARE_METATYPE(TImageData)

// The server's interface. Its two signals are the server's own, joined by
// name to the bus's signals as the notices come.
class TNotificationsProxy final : public QDBusAbstractInterface
{
    Q_OBJECT
public:
    explicit TNotificationsProxy(const QDBusConnection& bus)
        : QDBusAbstractInterface(u"org.freedesktop.Notifications"_s,
            u"/org/freedesktop/Notifications"_s, "org.freedesktop.Notifications", bus, nullptr)
    {
        setTimeout(TDesktopNotifications::CallTimeout);
    }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);
};

TDesktopNotifications::TDesktopNotifications(QString busAddress, QObject* parent)
    : INotifications(parent)
    , BusAddress(std::move(busAddress))
{
}

TDesktopNotifications::~TDesktopNotifications()
{
    Proxy.reset();
    if (!BusAddress.isEmpty())
        QDBusConnection::disconnectFromBus(ConnectionName());
}

bool TDesktopNotifications::Connect()
{
    if (!Proxy) {
        const QDBusConnection bus = BusAddress.isEmpty()
            ? QDBusConnection::sessionBus()
            : QDBusConnection::connectToBus(BusAddress, ConnectionName());
        if (!bus.isConnected()) {
            Report(u"no session bus"_s);
            return false;
        }
        qDBusRegisterMetaType<TImageData>();
        Proxy = std::make_unique<TNotificationsProxy>(bus);
        connect(Proxy.get(), &TNotificationsProxy::ActionInvoked, this,
            &TDesktopNotifications::Invoked);
        connect(Proxy.get(), &TNotificationsProxy::NotificationClosed, this,
            &TDesktopNotifications::Closed);
    }
    // Asked each time: the server may have gone, come, or been replaced.
    const QDBusReply<QStringList> capabilities = Proxy->call(u"GetCapabilities"_s);
    if (!capabilities.isValid()) {
        Report(capabilities.error().message());
        return false;
    }
    FCapabilities = capabilities.value();
    return true;
}

uint32_t TDesktopNotifications::Notify(const TNotice& notice)
{
    if (!Connect())
        return 0;
    QStringList actions;
    if (FCapabilities.contains(u"actions"_s))
        for (const auto& [key, label] : notice.Actions)
            actions << key << label;
    const QString body
        = FCapabilities.contains(u"body-markup"_s) ? notice.Body.toHtmlEscaped() : notice.Body;
    QVariantMap hints;
    hints.insert(u"urgency"_s, QVariant::fromValue(static_cast<uchar>(notice.Critical ? 2 : 1)));
    hints.insert(u"desktop-entry"_s, QString::fromLatin1(DesktopEntry));
    if (!notice.Image.isNull())
        hints.insert(u"image-data"_s, QVariant::fromValue(TImageData { notice.Image }));
    const QDBusReply<uint> id = Proxy->call(u"Notify"_s, QString::fromLatin1(ApplicationName), 0u,
        QString::fromLatin1(DesktopEntry), notice.Summary, body, actions, hints,
        notice.Critical ? 0 : -1);
    if (!id.isValid()) {
        Report(id.error().message());
        return 0;
    }
    Shown.insert(id.value());
    return id.value();
}

void TDesktopNotifications::Close(uint32_t id)
{
    if (!Proxy || !Shown.remove(id))
        return;
    Proxy->asyncCall(u"CloseNotification"_s, id);
}

void TDesktopNotifications::Closed(uint32_t id, uint32_t reason)
{
    if (Shown.remove(id) && reason == ReasonDismissed)
        Q_EMIT Dismissed(id);
}

void TDesktopNotifications::Invoked(uint32_t id, const QString& action)
{
    if (Shown.contains(id))
        Q_EMIT ActionInvoked(id, action);
}

QString TDesktopNotifications::ConnectionName() const
{
    return u"talvo-notifications-%1"_s.arg(reinterpret_cast<quintptr>(this));
}

void TDesktopNotifications::Report(const QString& why)
{
    if (std::exchange(Reported, true))
        return;
    std::fprintf(
        stderr, "Talvo95: the desktop's notifications are not available (%s).\n", qPrintable(why));
}

#include "Notifications.moc"

#else

TDesktopNotifications::TDesktopNotifications(QString busAddress, QObject* parent)
    : INotifications(parent)
    , BusAddress(std::move(busAddress))
{
}

TDesktopNotifications::~TDesktopNotifications() = default;

uint32_t TDesktopNotifications::Notify(const TNotice&)
{
    return 0;
}

void TDesktopNotifications::Close(uint32_t) { }

#endif
