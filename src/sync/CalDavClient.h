#pragma once

#include "sync/Multistatus.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSslCertificate>
#include <QSslError>
#include <QStringList>
#include <QUrl>
#include <functional>

class QNetworkReply;

// Where and as whom the diary syncs. The password is kept only here, in
// memory, and never written to a message.
struct TDavAccount {
    QUrl Url; // a calendar collection, or the server's root
    QString User;
    QString Password;
    bool AllowUnencrypted = false; // plain HTTP beyond the loopback address
    // The SHA-256 of a certificate the user chose to trust although it did
    // not check out (hex); only that certificate's errors are let pass.
    QByteArray TrustedCertificate;
};

// A certificate's SHA-256 in hex, as TrustedCertificate holds it.
QByteArray CertificateDigest(const QSslCertificate& certificate);

// How one request ended.
struct TDavReply {
    int Status = 0; // the HTTP status; 0 when no answer came
    QByteArray Body;
    QString ETag;
    QString Error; // empty when the request got an answer, whatever its status
    bool Ok() const { return Error.isEmpty() && Status >= 200 && Status < 300; }
};

struct TDavCalendar {
    QString Path;
    QString Name;
};

// The WebDAV/CalDAV requests of a sync, asynchronous on Qt Network. It keeps
// to these rules whatever the server does:
// - HTTPS with the system's certificates; a certificate error ends the
//   request and is reported (CertificateError), never ignored, unless the
//   user chose to trust that very certificate. Plain HTTP only
//   to the loopback address, unless the account allows it.
// - Redirects are followed only on the same host, port and scheme, at most
//   five; any other is refused.
// - Every request has a time limit and a size limit on the answer, so a server
//   that stalls or never stops answering cannot hold the sync.
// - Credentials are given once per request when the server asks; a server
//   that asks again gets the 401 it asked for.
class TCalDavClient : public QObject
{
    Q_OBJECT

public:
    using TDone = std::function<void(const TDavReply&)>;

    explicit TCalDavClient(TDavAccount account, QObject* parent = nullptr);

    // The longest silence a request waits through; a whole answer may take
    // ten times as long.
    void SetTimeout(int milliseconds) { Timeout = milliseconds; }
    void SetMaxAnswerBytes(qint64 bytes) { MaxAnswer = bytes; }
    const TDavAccount& Account() const { return Settings; }
    // Whether the server has answered a request with the account's user
    // name by refusing it (401): then its password is wrong.
    bool LoginRefused() const { return Refused; }
    // Why the account's address may not be used; empty when it may.
    QString RefusalOf(const QUrl& url) const;

    // A request to `path` on the account's server; `headers` as name, value pairs.
    void Send(const QByteArray& method, const QString& path, const QByteArray& body,
        const QList<std::pair<QByteArray, QByteArray>>& headers, TDone done);
    void Propfind(const QString& path, int depth, const QByteArray& body, TDone done);
    void Report(const QString& path, const QByteArray& body, TDone done);
    // If-Match with `ifMatch`, or If-None-Match: * for a new resource.
    void Put(const QString& path, const QByteArray& data, const QString& ifMatch, TDone done);
    void Delete(const QString& path, const QString& ifMatch, TDone done);

    // The calendars that hold events, from the account's address: the address
    // itself when it is one, else through the user's principal and calendar home.
    void Discover(std::function<void(const QString& error, const std::vector<TDavCalendar>&)> done);

Q_SIGNALS:
    // The server's certificate did not check out; `certificate` is the one it showed.
    void CertificateError(const QList<QSslError>& errors, const QSslCertificate& certificate);

private:
    void Start(const QByteArray& method, const QUrl& url, const QByteArray& body,
        const QList<std::pair<QByteArray, QByteArray>>& headers, TDone done, int hops);
    QUrl UrlOf(const QString& path) const;
    void Calendars(const QString& home,
        std::function<void(const QString&, const std::vector<TDavCalendar>&)> done);

    TDavAccount Settings;
    QNetworkAccessManager Network;
    int Timeout = 60000;
    qint64 MaxAnswer = 256LL * 1024 * 1024;
    bool Refused = false;
};

// Messages a sync shows for an answer that is not a success.
QString DescribeFailure(const TDavReply& reply);
