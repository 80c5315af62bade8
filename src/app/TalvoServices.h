#pragma once

#include <filesystem>
#include <functional>
#include <memory>

class IAutostart;
class IClipboard;
class IClock;
class IColourFontPickers;
class IDesktop;
class IDialogues;
class IKeyring;
class INotifications;
class ISettingsBackend;
class ISerialPort;
class ISoundPlayer;
class TTrayIconBase;

// What the main window reaches the desktop through. The program passes the
// real adapters; a test passes fakes.
struct TTalvoServices {
    IClock& Clock;
    IDialogues& Dialogues;
    TTrayIconBase& TrayIcon;
    IDesktop& Desktop;
    IClipboard& Clipboard;
    ISoundPlayer& Sound;
    std::function<std::unique_ptr<ISettingsBackend>()> MakeSettingsBackend;
    // Where "DIARY.DAT" and the other data files live: the data folder, not
    // the working folder.
    std::filesystem::path DataFolder;
    // Where a modem is dialled.
    ISerialPort& Serial;
    // Where the emergency copies go when a save fails as the program must end;
    // none are made when empty.
    std::filesystem::path RecoveryFolder = {};
    // Starting with the desktop session; none where the desktop has no way.
    IAutostart* Autostart = nullptr;
    // The desktop's notifications; none when null.
    INotifications* Notifications = nullptr;
    // The properties window's colour and font dialogs; the desktop's when null.
    IColourFontPickers* Pickers = nullptr;
    // Where the sync's password is kept; the desktop's keyring when null.
    IKeyring* Keyring = nullptr;
};
