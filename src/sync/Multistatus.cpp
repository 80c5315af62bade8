#include "sync/Multistatus.h"

#include <QXmlStreamReader>

namespace
{

const QString Dav = QStringLiteral("DAV:");
const QString CalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

bool Is(const QXmlStreamReader& xml, const QString& ns, QLatin1StringView name)
{
    return xml.namespaceUri() == ns && xml.name() == name;
}

// The text of the first DAV:href inside the current element, which it reads to its end.
QString HrefInside(QXmlStreamReader& xml)
{
    QString href;
    int level = 1;
    while (level > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (href.isEmpty() && Is(xml, Dav, QLatin1StringView("href"))) {
                href = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
                continue;
            }
            ++level;
        } else if (token == QXmlStreamReader::EndElement) {
            --level;
        }
    }
    return href;
}

// Reads one DAV:prop; the reader is on its start.
void ReadProp(QXmlStreamReader& xml, TDavResponse& into)
{
    while (xml.readNextStartElement()) {
        if (Is(xml, Dav, QLatin1StringView("getetag"))) {
            into.ETag = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (Is(xml, CalDav, QLatin1StringView("calendar-data"))) {
            into.CalendarData = xml.readElementText(QXmlStreamReader::SkipChildElements).toUtf8();
        } else if (Is(xml, Dav, QLatin1StringView("displayname"))) {
            into.DisplayName = xml.readElementText(QXmlStreamReader::SkipChildElements);
        } else if (Is(xml, Dav, QLatin1StringView("current-user-principal"))) {
            into.PrincipalHref = HrefInside(xml);
        } else if (Is(xml, CalDav, QLatin1StringView("calendar-home-set"))) {
            into.HomeSetHref = HrefInside(xml);
        } else if (Is(xml, Dav, QLatin1StringView("resourcetype"))) {
            while (xml.readNextStartElement()) {
                into.IsCollection |= Is(xml, Dav, QLatin1StringView("collection"));
                into.IsCalendar |= Is(xml, CalDav, QLatin1StringView("calendar"));
                xml.skipCurrentElement();
            }
        } else if (Is(xml, CalDav, QLatin1StringView("supported-calendar-component-set"))) {
            bool events = false;
            while (xml.readNextStartElement()) {
                if (Is(xml, CalDav, QLatin1StringView("comp"))
                    && xml.attributes().value(QLatin1StringView("name"))
                        == QLatin1StringView("VEVENT"))
                    events = true;
                xml.skipCurrentElement();
            }
            into.HoldsEvents = events;
        } else {
            xml.skipCurrentElement();
        }
    }
}

// Reads one DAV:propstat; its properties count only with a 2xx status.
void ReadPropstat(QXmlStreamReader& xml, TDavResponse& into)
{
    TDavResponse found = into;
    int status = 200;
    while (xml.readNextStartElement()) {
        if (Is(xml, Dav, QLatin1StringView("prop")))
            ReadProp(xml, found);
        else if (Is(xml, Dav, QLatin1StringView("status")))
            status = StatusOfLine(xml.readElementText(QXmlStreamReader::SkipChildElements));
        else
            xml.skipCurrentElement();
    }
    if (status >= 200 && status < 300)
        into = found;
}

} // namespace

int StatusOfLine(QStringView line)
{
    const QList<QStringView> parts = line.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (parts.size() < 2 || !parts[0].startsWith(u"HTTP/"))
        return 0;
    bool ok = false;
    const int code = parts[1].toInt(&ok);
    return ok && code >= 100 && code < 600 ? code : 0;
}

std::optional<TMultistatus> ParseMultistatus(const QByteArray& text)
{
    QXmlStreamReader xml(text);
    if (!xml.readNextStartElement() || !Is(xml, Dav, QLatin1StringView("multistatus")))
        return std::nullopt;
    TMultistatus result;
    while (xml.readNextStartElement()) {
        if (Is(xml, Dav, QLatin1StringView("sync-token"))) {
            result.SyncToken = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (Is(xml, Dav, QLatin1StringView("response"))) {
            TDavResponse response;
            while (xml.readNextStartElement()) {
                if (Is(xml, Dav, QLatin1StringView("href")) && response.Href.isEmpty())
                    response.Href
                        = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
                else if (Is(xml, Dav, QLatin1StringView("status")))
                    response.Status
                        = StatusOfLine(xml.readElementText(QXmlStreamReader::SkipChildElements));
                else if (Is(xml, Dav, QLatin1StringView("propstat")))
                    ReadPropstat(xml, response);
                else
                    xml.skipCurrentElement();
            }
            if (!response.Href.isEmpty())
                result.Responses.push_back(std::move(response));
        } else {
            xml.skipCurrentElement();
        }
    }
    // Anything but a clean end (truncated, not well-formed) is no answer at all.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return std::nullopt;
    return result;
}
