#pragma once

#include <filesystem>
#include <functional>
#include <memory>

class IClipboard;
class IClock;
class IDesktop;
class IDialogues;
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
    // Where "DIARY.DAT" and the other data files live: the working folder.
    std::filesystem::path DataFolder;
    // Where a modem is dialled.
    ISerialPort& Serial;
};
