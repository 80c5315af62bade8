#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// A WebDAV multistatus answer (RFC 4918, 4791, 6578) read into what a sync
// asks of it. Properties under a propstat whose status is not 2xx are left
// out; elements of other namespaces with the same local names do not count.

struct TDavResponse {
    QString Href; // as the server wrote it
    int Status = 200; // the response's own status, 200 when it gave none
    QString ETag;
    QByteArray CalendarData;
    bool IsCollection = false;
    bool IsCalendar = false;
    bool HoldsEvents = true; // false when its component set leaves VEVENT out
    QString DisplayName;
    QString PrincipalHref; // current-user-principal
    QString HomeSetHref; // calendar-home-set
};

struct TMultistatus {
    std::vector<TDavResponse> Responses;
    QString SyncToken;
};

// Nothing when the text is not well-formed XML or its root is not a DAV:
// multistatus.
std::optional<TMultistatus> ParseMultistatus(const QByteArray& xml);

// The status code of an HTTP status line ("HTTP/1.1 404 Not Found" gives 404); 0 for none.
int StatusOfLine(QStringView line);
