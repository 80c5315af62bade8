#include "platform/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace
{

constexpr auto EntryName = "Talvo95"_L1;
#ifdef Q_OS_WIN
constexpr auto RunKey = R"(HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run)"_L1;
#endif

} // namespace

TSessionAutostart::TSessionAutostart(QString program)
    : Program(std::move(program))
{
}

QString TSessionAutostart::EntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + "/autostart/"_L1 + EntryName + ".desktop"_L1;
}

QString TSessionAutostart::ExecArgument(const QString& program)
{
    // Reserved characters put the path in double quotes, where ", `, $ and \ are
    // escaped with a backslash; a percent sign is always doubled.
    static const QString reserved = u" \t\"'\\><~|&;$*?#()`"_s;
    QString argument = program;
    argument.replace(u'%', "%%"_L1);
    if (std::any_of(argument.begin(), argument.end(),
            [](QChar c) { return reserved.contains(c) || c == u'\n'; })) {
        QString quoted;
        for (QChar c : std::as_const(argument)) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        argument = u'"' + quoted + u'"';
    }
    // The value of a desktop entry escapes its own backslashes once more.
    argument.replace(u'\\', "\\\\"_L1);
    return argument;
}

QString TSessionAutostart::EntryText(const QString& program)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Talvo95\n"
           "Comment=Diary with alarms, notes and a calculator, started into the tray\n"
           "Exec="_L1
        + ExecArgument(program)
        + " --hidden\n"
          "Icon=Talvo95\n"
          "Terminal=false\n"
          "X-GNOME-Autostart-enabled=true\n"_L1;
}

#ifdef Q_OS_WIN

bool TSessionAutostart::IsEnabled() const
{
    return QSettings(RunKey, QSettings::NativeFormat).contains(EntryName);
}

bool TSessionAutostart::SetEnabled(bool enabled, QString& error)
{
    QSettings run(RunKey, QSettings::NativeFormat);
    if (enabled)
        run.setValue(EntryName, u"\"%1\" --hidden"_s.arg(QDir::toNativeSeparators(Program)));
    else
        run.remove(EntryName);
    run.sync();
    if (run.status() == QSettings::NoError)
        return true;
    error = u"The Run key of the registry could not be changed."_s;
    return false;
}

#else

bool TSessionAutostart::IsEnabled() const
{
    QFile entry(EntryPath());
    if (!entry.open(QIODevice::ReadOnly))
        return false;
    // An entry that says Hidden=true is one the user switched off elsewhere.
    return !entry.readAll().contains("\nHidden=true");
}

bool TSessionAutostart::SetEnabled(bool enabled, QString& error)
{
    const QString path = EntryPath();
    if (!enabled) {
        if (!QFile::exists(path) || QFile::remove(path))
            return true;
        error = u"The autostart entry \"%1\" could not be removed."_s.arg(path);
        return false;
    }
    QSaveFile entry(path);
    if (QDir().mkpath(QFileInfo(path).path()) && entry.open(QIODevice::WriteOnly)) {
        entry.write(EntryText(Program).toUtf8());
        if (entry.commit())
            return true;
    }
    error = u"The autostart entry \"%1\" could not be written."_s.arg(path);
    return false;
}

#endif
