#include "sync/CalDavClient.h"

#include <QAuthenticator>
#include <QHostAddress>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>

namespace
{

constexpr int MaxRedirects = 5;
constexpr const char* AuthGiven = "talvoAuthGiven";
constexpr const char* TooLarge = "talvoTooLarge";
constexpr const char* TimedOut = "talvoTimedOut";

const QByteArray DiscoverBody = QByteArrayLiteral(
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>"
    "<d:resourcetype/><d:displayname/><d:current-user-principal/><c:calendar-home-set/>"
    "<c:supported-calendar-component-set/></d:prop></d:propfind>");

bool IsLoopback(const QString& host)
{
    return host.compare(QLatin1StringView("localhost"), Qt::CaseInsensitive) == 0
        || QHostAddress(host).isLoopback();
}

bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

TCalDavClient::TCalDavClient(TDavAccount account, QObject* parent)
    : QObject(parent)
    , Settings(std::move(account))
{
    // Credentials in the address go to their own fields, so that no message
    // and no state file ever holds them.
    if (!Settings.Url.userName().isEmpty() && Settings.User.isEmpty())
        Settings.User = Settings.Url.userName();
    if (!Settings.Url.password().isEmpty() && Settings.Password.isEmpty())
        Settings.Password = Settings.Url.password();
    Settings.Url.setUserInfo(QString());
    connect(&Network, &QNetworkAccessManager::authenticationRequired, this,
        [this](QNetworkReply* reply, QAuthenticator* authenticator) {
            if (reply->property(AuthGiven).toBool() || Settings.User.isEmpty())
                return;
            reply->setProperty(AuthGiven, true);
            authenticator->setUser(Settings.User);
            authenticator->setPassword(Settings.Password);
        });
}

QString TCalDavClient::RefusalOf(const QUrl& url) const
{
    if (!url.isValid() || url.host().isEmpty()
        || (url.scheme() != QLatin1StringView("https")
            && url.scheme() != QLatin1StringView("http")))
        return tr("\"%1\" is not the address of a calendar server.")
            .arg(url.toDisplayString(QUrl::RemoveUserInfo));
    if (url.host().compare(Settings.Url.host(), Qt::CaseInsensitive) != 0)
        return tr("The server named another host (%1): refused.").arg(url.host());
    if (url.scheme() == QLatin1StringView("http") && !IsLoopback(url.host())
        && !Settings.AllowUnencrypted)
        return tr("The connection to %1 would not be encrypted: use an https address, or tick "
                  "\"Allow unencrypted connection\".")
            .arg(url.host());
    return {};
}

QUrl TCalDavClient::UrlOf(const QString& path) const
{
    return Settings.Url.resolved(QUrl(path, QUrl::TolerantMode));
}

void TCalDavClient::Send(const QByteArray& method, const QString& path, const QByteArray& body,
    const QList<std::pair<QByteArray, QByteArray>>& headers, TDone done)
{
    Start(method, UrlOf(path), body, headers, std::move(done), 0);
}

void TCalDavClient::Propfind(const QString& path, int depth, const QByteArray& body, TDone done)
{
    Send("PROPFIND", path, body,
        { { "Depth", QByteArray::number(depth) },
            { "Content-Type", "application/xml; charset=utf-8" } },
        std::move(done));
}

void TCalDavClient::Report(const QString& path, const QByteArray& body, TDone done)
{
    Send("REPORT", path, body,
        { { "Depth", "1" }, { "Content-Type", "application/xml; charset=utf-8" } },
        std::move(done));
}

void TCalDavClient::Put(
    const QString& path, const QByteArray& data, const QString& ifMatch, TDone done)
{
    QList<std::pair<QByteArray, QByteArray>> headers { { "Content-Type",
        "text/calendar; charset=utf-8" } };
    if (ifMatch.isEmpty())
        headers.append(std::pair<QByteArray, QByteArray>("If-None-Match", "*"));
    else
        headers.append(std::pair<QByteArray, QByteArray>("If-Match", ifMatch.toUtf8()));
    Send("PUT", path, data, headers, std::move(done));
}

void TCalDavClient::Delete(const QString& path, const QString& ifMatch, TDone done)
{
    QList<std::pair<QByteArray, QByteArray>> headers;
    if (!ifMatch.isEmpty())
        headers.append(std::pair<QByteArray, QByteArray>("If-Match", ifMatch.toUtf8()));
    Send("DELETE", path, {}, headers, std::move(done));
}

void TCalDavClient::Start(const QByteArray& method, const QUrl& url, const QByteArray& body,
    const QList<std::pair<QByteArray, QByteArray>>& headers, TDone done, int hops)
{
    const QString refusal = RefusalOf(url);
    if (!refusal.isEmpty()) {
        QTimer::singleShot(0, this, [done, refusal] { done({ 0, {}, {}, refusal }); });
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(
        QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(Timeout);
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    // The login goes with the request, in UTF-8 as servers read it: Qt's own
    // answer to the server's challenge, tried after it, sends only Latin-1
    // letters and would turn the others into "?".
    if (!Settings.User.isEmpty())
        request.setRawHeader("Authorization",
            "Basic " + (Settings.User + u':' + Settings.Password).toUtf8().toBase64());
    QNetworkReply* reply = Network.sendCustomRequest(request, method, body);
    // The transfer's own limit counts only silence; a server that trickles
    // without end meets this one.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [reply] {
        reply->setProperty(TimedOut, true);
        reply->abort();
    });
    deadline->start(Timeout * 10);
    connect(reply, &QNetworkReply::downloadProgress, reply,
        [reply, max = MaxAnswer](qint64 received, qint64) {
            if (received > max) {
                reply->setProperty(TooLarge, true);
                reply->abort();
            }
        });
    connect(reply, &QNetworkReply::sslErrors, this, [this, reply](const QList<QSslError>& errors) {
        QSslCertificate shown = reply->sslConfiguration().peerCertificate();
        for (const QSslError& error : errors)
            if (shown.isNull() && !error.certificate().isNull())
                shown = error.certificate();
        if (!shown.isNull() && !Settings.TrustedCertificate.isEmpty()
            && CertificateDigest(shown) == Settings.TrustedCertificate) {
            reply->ignoreSslErrors(errors);
            return;
        }
        Q_EMIT CertificateError(errors, shown);
    });
    connect(reply, &QNetworkReply::finished, this, [=, this] {
        reply->deleteLater();
        TDavReply result;
        result.Status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (IsRedirect(result.Status)) {
            const QUrl target = url.resolved(QUrl::fromEncoded(reply->rawHeader("Location")));
            if (hops < MaxRedirects && target.scheme() == url.scheme()
                && target.host() == url.host() && target.port() == url.port()) {
                Start(method, target, body, headers, done, hops + 1);
                return;
            }
            result.Error = hops < MaxRedirects
                ? tr("The server sent the request to another address (%1): refused.")
                      .arg(target.toDisplayString(
                          QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery))
                : tr("The server redirected the request too many times.");
            done(result);
            return;
        }
        if (reply->property(TooLarge).toBool())
            result.Error = tr("The server's answer was too long.");
        else if (reply->property(TimedOut).toBool()
            || reply->error() == QNetworkReply::OperationCanceledError)
            result.Error = tr("The server did not answer in time.");
        else if (reply->error() == QNetworkReply::SslHandshakeFailedError)
            result.Error
                = tr("The server's certificate is not valid: %1").arg(reply->errorString());
        else if (result.Status == 0)
            result.Error = tr("The server could not be reached: %1").arg(reply->errorString());
        else if (result.Status == 401 && Settings.User.isEmpty())
            result.Error = tr("The server asks for a user name and password.");
        else if (result.Status == 401)
            Refused = true;
        if (result.Error.isEmpty()) {
            result.Body = reply->readAll();
            result.ETag = QString::fromUtf8(reply->rawHeader("ETag"));
        }
        done(result);
    });
}

void TCalDavClient::Discover(
    std::function<void(const QString&, const std::vector<TDavCalendar>&)> done)
{
    const QString path = Settings.Url.path(QUrl::FullyEncoded);
    Propfind(path.isEmpty() ? QStringLiteral("/") : path, 0, DiscoverBody,
        [this, done](const TDavReply& reply) {
            const auto answer = reply.Ok() ? ParseMultistatus(reply.Body) : std::nullopt;
            if (!answer || answer->Responses.empty()) {
                done(reply.Ok() ? tr("The server's answer could not be read.")
                                : DescribeFailure(reply),
                    {});
                return;
            }
            const TDavResponse& self = answer->Responses.front();
            if (self.IsCalendar) {
                done({}, { { UrlOf(self.Href).path(QUrl::FullyEncoded), self.DisplayName } });
            } else if (!self.HomeSetHref.isEmpty()) {
                Calendars(self.HomeSetHref, done);
            } else if (!self.PrincipalHref.isEmpty()) {
                Propfind(self.PrincipalHref, 0, DiscoverBody,
                    [this, done, self](const TDavReply& reply) {
                        const auto principal
                            = reply.Ok() ? ParseMultistatus(reply.Body) : std::nullopt;
                        const QString home = principal && !principal->Responses.empty()
                            ? principal->Responses.front().HomeSetHref
                            : QString();
                        Calendars(home.isEmpty() ? self.PrincipalHref : home, done);
                    });
            } else {
                Calendars(self.Href, done);
            }
        });
}

void TCalDavClient::Calendars(
    const QString& home, std::function<void(const QString&, const std::vector<TDavCalendar>&)> done)
{
    Propfind(home, 1, DiscoverBody, [this, done](const TDavReply& reply) {
        const auto answer = reply.Ok() ? ParseMultistatus(reply.Body) : std::nullopt;
        if (!answer) {
            done(reply.Ok() ? tr("The server's answer could not be read.") : DescribeFailure(reply),
                {});
            return;
        }
        std::vector<TDavCalendar> calendars;
        for (const TDavResponse& r : answer->Responses)
            if (r.IsCalendar && r.HoldsEvents)
                calendars.push_back({ UrlOf(r.Href).path(QUrl::FullyEncoded), r.DisplayName });
        done(calendars.empty() ? tr("The server has no calendar for events here.") : QString(),
            calendars);
    });
}

QByteArray CertificateDigest(const QSslCertificate& certificate)
{
    return certificate.digest(QCryptographicHash::Sha256).toHex();
}

QString DescribeFailure(const TDavReply& reply)
{
    if (!reply.Error.isEmpty())
        return reply.Error;
    if (reply.Status == 401)
        return QObject::tr("The server refused the user name or password.");
    if (reply.Status == 403)
        return QObject::tr("The server does not allow this (403).");
    if (reply.Status == 404)
        return QObject::tr("The calendar was not found on the server (404).");
    if (reply.Status >= 500)
        return QObject::tr("The server failed (%1); the sync will be tried again.")
            .arg(reply.Status);
    return QObject::tr("The server answered %1.").arg(reply.Status);
}
