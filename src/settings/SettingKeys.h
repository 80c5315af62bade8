#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>

// What a stored value means; every value is kept as text all the same.
enum class TSettingKind { Integer, Colour, Text, Flag, Geometry };

struct TSettingKey {
    std::string_view Name;
    TSettingKind Kind;
    // What an absent or empty value reads as. None where the reader supplies it:
    // a window's current position or size, the font's current face name.
    std::optional<int32_t> Default;
};

// Every value the program remembers between runs, by its stored name.
namespace Setting
{
inline constexpr TSettingKey ModemPort { "ModemPort", TSettingKind::Integer, -1 };
inline constexpr TSettingKey AlarmSound { "AlarmSound", TSettingKind::Integer, 0 };
inline constexpr TSettingKey ColourCalendar { "ColourCalendar", TSettingKind::Colour, INT32_MIN };
inline constexpr TSettingKey ColourTree { "ColourTree", TSettingKind::Colour, INT32_MIN };
inline constexpr TSettingKey ColourCalculator { "ColourCalculator", TSettingKind::Colour,
    INT32_MIN + 5 };
inline constexpr TSettingKey ColourComingUp { "ColourComingUp", TSettingKind::Colour, 0x00FF0000 };
inline constexpr TSettingKey ColourOverdue { "ColourOverdue", TSettingKind::Colour, 0x000000FF };
inline constexpr TSettingKey ColourToday { "ColourToday", TSettingKind::Colour, 0x0000FFFF };
inline constexpr TSettingKey FontName { "FontName", TSettingKind::Text, std::nullopt };
inline constexpr TSettingKey FontSize { "FontSize", TSettingKind::Integer, 8 };
inline constexpr TSettingKey FontStyle { "FontStyle", TSettingKind::Integer, 0 };
inline constexpr TSettingKey OnTop { "OnTop", TSettingKind::Flag, 0 };
inline constexpr TSettingKey ShowHints { "ShowHints", TSettingKind::Flag, 1 };
inline constexpr TSettingKey DateTray { "DateTray", TSettingKind::Flag, 1 };
// Main window placement and the width of the notes tree, read at start-up and
// written at exit.
inline constexpr TSettingKey WinLeft { "WinLeft", TSettingKind::Geometry, std::nullopt };
inline constexpr TSettingKey WinTop { "WinTop", TSettingKind::Geometry, std::nullopt };
inline constexpr TSettingKey WinWidth { "WinWidth", TSettingKind::Geometry, std::nullopt };
inline constexpr TSettingKey WinHeight { "WinHeight", TSettingKind::Geometry, std::nullopt };
inline constexpr TSettingKey WinSplit { "WinSplit", TSettingKind::Geometry, std::nullopt };
inline constexpr TSettingKey SchWinLeft { "SchWinLeft", TSettingKind::Geometry, std::nullopt };
inline constexpr TSettingKey SchWinTop { "SchWinTop", TSettingKind::Geometry, std::nullopt };
inline constexpr TSettingKey SchWinWidth { "SchWinWidth", TSettingKind::Geometry, std::nullopt };
inline constexpr TSettingKey SchWinHeight { "SchWinHeight", TSettingKind::Geometry, std::nullopt };
// The month 1..12 of the last purge of old diary events; 99 before the first.
inline constexpr TSettingKey Month { "Month", TSettingKind::Integer, 99 };
// A serial device that replaces the numbered modem port ("/dev/ttyACM0"), for
// the USB modems of today. Set by hand in the settings file, never written,
// read when a number is dialled.
inline constexpr TSettingKey ModemDevice { "ModemDevice", TSettingKind::Text, std::nullopt };
// The alarms' own: the last minute the tick handled (so a start finds the
// alarms it missed), notifications on the desktop, reminders, the snooze
// length last chosen, and running on without a tray.
inline constexpr TSettingKey LastTick { "LastTick", TSettingKind::Integer, 0 };
inline constexpr TSettingKey Notifications { "Notifications", TSettingKind::Flag, 1 };
inline constexpr TSettingKey RemindBefore { "RemindBefore", TSettingKind::Integer, 0 };
inline constexpr TSettingKey SnoozeMinutes { "SnoozeMinutes", TSettingKind::Integer, 10 };
inline constexpr TSettingKey Background { "Background", TSettingKind::Flag, 1 };
inline constexpr TSettingKey BackgroundTold { "BackgroundTold", TSettingKind::Flag, 0 };
// The diary's sync with a calendar server: the server's address, the user
// name, the calendar chosen there, the minutes between syncs, plain HTTP
// beyond this computer, and the SHA-256 of a certificate the user chose to
// trust although it did not check out. The password is never stored here.
inline constexpr TSettingKey SyncUrl { "SyncUrl", TSettingKind::Text, std::nullopt };
inline constexpr TSettingKey SyncUser { "SyncUser", TSettingKind::Text, std::nullopt };
inline constexpr TSettingKey SyncCalendar { "SyncCalendar", TSettingKind::Text, std::nullopt };
inline constexpr TSettingKey SyncInterval { "SyncInterval", TSettingKind::Integer, 5 };
inline constexpr TSettingKey SyncUnencrypted { "SyncUnencrypted", TSettingKind::Flag, 0 };
inline constexpr TSettingKey SyncCertificate { "SyncCertificate", TSettingKind::Text,
    std::nullopt };
} // namespace Setting

inline constexpr std::array<TSettingKey, 36> SettingKeys { Setting::ModemPort, Setting::AlarmSound,
    Setting::ColourCalendar, Setting::ColourTree, Setting::ColourCalculator,
    Setting::ColourComingUp, Setting::ColourOverdue, Setting::ColourToday, Setting::FontName,
    Setting::FontSize, Setting::FontStyle, Setting::OnTop, Setting::ShowHints, Setting::DateTray,
    Setting::WinLeft, Setting::WinTop, Setting::WinWidth, Setting::WinHeight, Setting::WinSplit,
    Setting::SchWinLeft, Setting::SchWinTop, Setting::SchWinWidth, Setting::SchWinHeight,
    Setting::Month, Setting::LastTick, Setting::Notifications, Setting::RemindBefore,
    Setting::SnoozeMinutes, Setting::Background, Setting::BackgroundTold, Setting::SyncUrl,
    Setting::SyncUser, Setting::SyncCalendar, Setting::SyncInterval, Setting::SyncUnencrypted,
    Setting::SyncCertificate };
