#include "settings/QtSettingsBackend.h"

#include "platform/AnsiText.h"

#include <QSettings>
#include <QStringList>
#include <functional>

using namespace Qt::StringLiterals;

namespace
{

QString Key(std::string_view name)
{
    return FromCore(name);
}

// True when the changes made through `settings` are in the file.
bool Stored(QSettings& settings, const std::function<QSettings::Status()>& freshStatus)
{
    settings.sync();
    QSettings::Status status = settings.status();
    if (status == QSettings::FormatError) {
        // A hand-edited file that did not parse hides whether the write itself
        // went through; a fresh look tells, since a change QSettings could not
        // write stays pending and is tried again, and refused again, on opening.
        status
            = freshStatus() == QSettings::AccessError ? QSettings::AccessError : QSettings::NoError;
    }
    return status == QSettings::NoError;
}

// QSettings keeps a change it could not write and would show it to later reads
// as if it were stored; put back what is stored.
void PutBack(QSettings& settings, const QString& key, const QVariant& previous)
{
    if (previous.isValid())
        settings.setValue(key, previous);
    else
        settings.remove(key);
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
    std::unique_ptr<QSettings> single;
    QSettings& settings = Batch ? *Batch : *(single = Open());
    const QVariant value = settings.value(Key(name));
    // "1, 2" typed into the file by hand: QSettings splits it at the commas.
    if (value.typeId() == QMetaType::QStringList)
        return ToCore(value.toStringList().join(u", "_s));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return ToCore(value.toString());
}

bool TQtSettingsBackend::WriteText(std::string_view name, std::string_view text)
{
    const QString key = Key(name);
    if (Batch) {
        Replaced.emplace_back(key, Batch->value(key));
        Batch->setValue(key, FromCore(text));
        return true;
    }
    auto settings = Open();
    const QVariant previous = settings->value(key);
    settings->setValue(key, FromCore(text));
    if (Stored(*settings, [this] { return Open()->status(); }))
        return true;
    PutBack(*settings, key, previous);
    return false;
}

void TQtSettingsBackend::BeginBatch()
{
    Batch = Open();
    Replaced.clear();
}

bool TQtSettingsBackend::EndBatch()
{
    if (!Batch)
        return true;
    std::unique_ptr<QSettings> settings = std::move(Batch);
    const bool stored = Replaced.empty() || Stored(*settings, [this] { return Open()->status(); });
    if (!stored) {
        // Latest first, so a value written twice gets back what the file held.
        for (auto it = Replaced.rbegin(); it != Replaced.rend(); ++it)
            PutBack(*settings, it->first, it->second);
    }
    Replaced.clear();
    return stored;
}
