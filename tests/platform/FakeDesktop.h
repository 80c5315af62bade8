#pragma once

#include "platform/Desktop.h"

#include <QStringList>

// Remembers what would have been opened.
class TFakeDesktop final : public IDesktop
{
public:
    QStringList Opened;
    bool HasViewer = true; // false: as on a desktop without a launcher
    // False: the desktop has no handler and says so.
    bool Handles = true;
    bool OpenDocument(const QString& path) override
    {
        Opened << path;
        return HasViewer;
    }
    bool OpenUrl(const QString& url) override
    {
        Opened << url;
        return Handles;
    }
};
