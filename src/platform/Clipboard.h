#pragma once

#include <QString>

// The plain-text clipboard, behind a seam so tests can use their own.
class IClipboard
{
public:
    virtual ~IClipboard() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;
};

// The desktop's clipboard.
class TSystemClipboard final : public IClipboard
{
public:
    QString Text() const override;
    void SetText(const QString& text) override;
};

// A clipboard of the program's own, for tests.
class TMemoryClipboard final : public IClipboard
{
public:
    QString Text() const override { return Content; }
    void SetText(const QString& text) override { Content = text; }

private:
    QString Content;
};
