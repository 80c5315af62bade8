#pragma once

#include <QString>

// The shell's "open": documents in the desktop's viewer, mail links in the mail
// program. Behind a seam so tests can see what would have opened.
class IDesktop
{
public:
    virtual ~IDesktop() = default;
    // Opens a local file with the desktop's default program; false when it did not.
    virtual bool OpenDocument(const QString& path) = 0;
    // Opens a URL such as a "MailTo:" link.
    virtual bool OpenUrl(const QString& url) = 0;
};

class TSystemDesktop final : public IDesktop
{
public:
    bool OpenDocument(const QString& path) override;
    bool OpenUrl(const QString& url) override;
};
