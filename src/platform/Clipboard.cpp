#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

QString TSystemClipboard::Text() const
{
    return QGuiApplication::clipboard()->text();
}

void TSystemClipboard::SetText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}
