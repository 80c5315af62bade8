#include "app/TalvoApplication.h"

#include "app/CommandLine.h"
#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "controls/Dialogues.h"
#include "controls/ProgramIcon.h"
#include "platform/AfterFirstFrame.h"
#include "platform/Autostart.h"
#include "platform/Clipboard.h"
#include "platform/ClockWatcher.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "platform/Notifications.h"
#include "platform/SerialPort.h"
#include "platform/SingleInstance.h"
#include "platform/SoundPlayer.h"
#include "platform/SystemClock.h"
#include "platform/TerminationWatcher.h"
#include "platform/TrayIcon.h"
#include "settings/QtSettingsBackend.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace
{

// Milliseconds: the latest the tray's icon is made when the window shows.
constexpr int TrayIconLatest = 2000;

} // namespace

bool TGuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (Dialogues)
            Dialogues->ShowApplicationError(ErrorText(error));
    }
    return false;
}

int TTalvoApplication::Run(TGuardedApplication& application)
{
    application.setOrganizationName(u"Quorral"_s);
    application.setApplicationName(u"Talvo95"_s);
    // No display name: Qt would add it to every window title ("Talvo95 - Quorral
    // — Talvo95"). The desktop file names the program and its icon instead.
    application.setDesktopFileName(u"com.quorral.Talvo95"_s);
    // The program lives on in the tray with no window shown.
    application.setQuitOnLastWindowClosed(false);

    TSingleInstance instance(TSingleInstance::DefaultServerName());
    // A running copy is handed the calendars to import, with their full
    // paths, so its data and the file never diverge; then it restores.
    QStringList others;
    const QStringList imports = CommandLine::ImportIcsFiles(application.arguments().mid(1), others);
    for (const QString& file : imports)
        if (!instance.SendToRunningInstance(u"import"_s, QFileInfo(file).absoluteFilePath()))
            break;
    // Asked to sync, a running copy syncs and stays as it is.
    if (others.contains(QLatin1StringView(CommandLine::SyncNow))
        && instance.SendToRunningInstance(u"sync"_s, u"now"_s))
        return 0;
    if (instance.SignalRunningInstance())
        return 0;
    // Watching before anyone can find this copy: a signal that comes while the
    // diary loads waits for it and then ends the program in order.
    TTerminationWatcher watcher;
    instance.Listen();

    TSystemClock clock;
    TDialogues dialogues;
    application.SetDialogues(&dialogues);
    TSystemTrayIcon trayIcon;
    TSystemDesktop desktop;
    TSystemClipboard clipboard;
    TDesktopSoundPlayer sound;
    QString folderError;
    const std::filesystem::path dataFolder = TDataFolder::Open(folderError);
    if (!folderError.isEmpty())
        dialogues.ShowError(folderError);
    TSerialPort serial;
    TTalvoServices services { clock, dialogues, trayIcon, desktop, clipboard, sound,
        [] { return std::make_unique<TQtSettingsBackend>(); }, dataFolder, serial };
    services.RecoveryFolder = TDataFolder::RecoveryFolder();
    TSessionAutostart autostart(QCoreApplication::applicationFilePath());
    services.Autostart = &autostart;
    TDesktopNotifications notifications;
    services.Notifications = &notifications;

    TTalvoForm form(services, application.arguments().mid(1));
    QObject::connect(
        &instance, &TSingleInstance::RestoreRequested, &form, &TTalvoForm::RestoreFromTray);
    QObject::connect(&instance, &TSingleInstance::CommandReceived, &form,
        [&form](const QString& command, const QString& argument) {
            // Asked after the request is read, not inside the socket's handler.
            if (command == u"import"_s)
                QTimer::singleShot(0, &form, [&form, argument] {
                    form.BringToFront();
                    form.ImportIcsFile(argument);
                });
            else if (command == u"sync"_s)
                form.SyncNowClick();
        });
    // "--export-ics" started meanwhile reads the files once they hold what is shown.
    QObject::connect(&instance, &TSingleInstance::SaveRequested, &form,
        [&form](const TSingleInstance::TAnswer& answer) {
            QTimer::singleShot(0, &form, [&form, answer] {
                const QString failure = form.SaveForExport();
                answer(failure.isEmpty() ? u"saved"_s : u"failed "_s + failure);
            });
        });
    QObject::connect(
        &form, &TTalvoForm::ExitRequested, &application, &QApplication::quit, Qt::QueuedConnection);
    // A clock set or a new time zone shows at once, not at the tick's next minute.
    TClockWatcher clockWatcher;
    QObject::connect(
        &clockWatcher, &TClockWatcher::ZoneChanged, &form, [&clock] { clock.ReloadZone(); });
    QObject::connect(&clockWatcher, &TClockWatcher::ClockChanged, &form, &TTalvoForm::ClockChanged);
    // Ending the desktop session, or a signal to end, exits as the tray's "Exit" does.
    QObject::connect(&watcher, &TTerminationWatcher::TerminationRequested, &form,
        [&form] { form.ExitClick(TTalvoForm::ecSystem); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &form,
        [&form](QSessionManager&) { form.ExitClick(TTalvoForm::ecSystem); });
    form.ShowAtStart();
    // The program's icon, for the windows and the tray, comes after the
    // window's first frame, or soon in any case, as the window may never be
    // exposed; started hidden, it comes now. Drawing it at the sizes the window
    // system is sent and sending them is no part of that frame.
    const auto addIcons = [&application, &trayIcon] {
        if (!application.windowIcon().isNull())
            return;
        application.setWindowIcon(TProgramIcon::Icon());
        trayIcon.Make();
    };
    if (form.isVisible()) {
        AfterFirstFrame(form, &trayIcon, addIcons);
        QTimer::singleShot(TrayIconLatest, &trayIcon, addIcons);
    } else {
        addIcons();
    }
    const int status = application.exec();
    application.SetDialogues(nullptr);
    return status;
}
