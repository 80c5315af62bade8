#include "platform/Desktop.h"

#include <QDesktopServices>
#include <QUrl>

bool TSystemDesktop::OpenDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool TSystemDesktop::OpenUrl(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url));
}
