#include "settings/QtSettingsBackend.h"

#include "platform/AnsiText.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace
{

QString Key(std::string_view name)
{
    return FromAnsi(name);
}

} // namespace

TQtSettingsBackend::TQtSettingsBackend(QString applicationTitle)
    : ApplicationTitle(std::move(applicationTitle))
{
}

TQtSettingsBackend::~TQtSettingsBackend() = default;

// Each access opens the location afresh, so what it reports is about that
// access alone (QSettings keeps the first error it met for its lifetime).
std::unique_ptr<QSettings> TQtSettingsBackend::Open() const
{
#ifdef Q_OS_WIN
    // The user's own part of the registry: the machine-wide part refuses
    // writes to anyone but an administrator.
    constexpr QSettings::Format format = QSettings::NativeFormat;
#else
    constexpr QSettings::Format format = QSettings::IniFormat;
#endif
    auto settings
        = std::make_unique<QSettings>(format, QSettings::UserScope, u"Quorral"_s, ApplicationTitle);
    // Only this one file or key: no organisation-wide or system-wide values.
    settings->setFallbacksEnabled(false);
    settings->beginGroup(u"All"_s);
    return settings;
}

QString TQtSettingsBackend::Location() const
{
    const auto settings = Open();
#ifdef Q_OS_WIN
    return settings->fileName() + u"\\All"_s;
#else
    return settings->fileName();
#endif
}

std::optional<std::string> TQtSettingsBackend::ReadText(std::string_view name)
{
    const auto settings = Open();
    const QVariant value = settings->value(Key(name));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return ToAnsi(value.toString());
}

bool TQtSettingsBackend::WriteText(std::string_view name, std::string_view text)
{
    const QString key = Key(name);
    auto settings = Open();
    const QVariant previous = settings->value(key);
    settings->setValue(key, FromAnsi(text));
    settings->sync();
    QSettings::Status status = settings->status();
    if (status == QSettings::FormatError) {
        // A hand-edited file that did not parse hides whether the write itself
        // went through; a fresh look tells, since a change QSettings could not
        // write stays pending and is tried again, and refused again, on opening.
        status = Open()->status() == QSettings::AccessError ? QSettings::AccessError
                                                            : QSettings::NoError;
    }
    if (status == QSettings::NoError)
        return true;
    // QSettings keeps a change it could not write and would show it to later
    // reads as if it were stored; put back what is stored.
    if (previous.isValid())
        settings->setValue(key, previous);
    else
        settings->remove(key);
    return false;
}
