#pragma once

#include "settings/Colours.h"
#include "settings/SettingKeys.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class TSettingsStore;

// Font style bits, as stored in FontStyle.
enum : int32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
inline constexpr int32_t FontStyleBits = fsBold | fsItalic | fsUnderline | fsStrikeOut;

inline constexpr std::string_view DefaultFontName = "MS Sans Serif";
inline constexpr size_t MaxFontNameLength = 31;

// Cuts a font name to MaxFontNameLength characters, never inside one.
void CutFontName(std::string& name);

// The one font shared by the diary grid, the notes tree, memo and table, and
// the schedule grid.
struct TSettingsFont {
    std::string Name { DefaultFontName }; // at most 31 characters
    int32_t Size = *Setting::FontSize.Default; // points
    int32_t Style = *Setting::FontStyle.Default; // fsBold | fsItalic | ...
    friend bool operator==(const TSettingsFont&, const TSettingsFont&) = default;
};

// Where and how often the diary syncs with a calendar server.
struct TSyncSettings {
    std::string Url; // a calendar collection or the server's root; empty: no sync
    std::string User;
    std::string Calendar; // the collection's path on the server; empty: the first found
    int32_t Interval = *Setting::SyncInterval.Default; // minutes
    bool AllowUnencrypted = *Setting::SyncUnencrypted.Default != 0;
    friend bool operator==(const TSyncSettings&, const TSyncSettings&) = default;
};

// The longest time between syncs: a day.
inline constexpr int32_t MaxSyncInterval = 1440;

// The user's options. A fresh record holds the defaults.
struct TSettings {
    int32_t ModemPort = *Setting::ModemPort.Default; // -1 none, 0 TAPI, 1..4 COM1:..COM4:
    int32_t AlarmSound = *Setting::AlarmSound.Default; // -1 none, 0 no sound, 1..4
    TColour ColourCalendar = TColour(*Setting::ColourCalendar.Default);
    TColour ColourTree = TColour(*Setting::ColourTree.Default);
    TColour ColourCalculator = TColour(*Setting::ColourCalculator.Default);
    TColour ColourComingUp = TColour(*Setting::ColourComingUp.Default);
    TColour ColourOverdue = TColour(*Setting::ColourOverdue.Default);
    TColour ColourToday = TColour(*Setting::ColourToday.Default);
    TSettingsFont SettingsFont;
    bool OnTop = *Setting::OnTop.Default != 0;
    bool ShowHints = *Setting::ShowHints.Default != 0;
    bool DateTray = *Setting::DateTray.Default != 0;
    // Alarms also as the desktop's notifications.
    bool Notifications = *Setting::Notifications.Default != 0;
    // Minutes before each alarm that a reminder comes; 0 for none.
    int32_t RemindBefore = *Setting::RemindBefore.Default;
    // Without a tray, closing the window leaves the program running while
    // alarms lie ahead.
    bool Background = *Setting::Background.Default != 0;
    TSyncSettings Sync;
    friend bool operator==(const TSettings&, const TSettings&) = default;
};

// One batch that reads the options. An absent or empty FontName keeps
// the font's current face name.
void LoadSettings(TSettingsStore& store, TSettings& settings);
// One batch that writes them; a refused write raises ESettingsError and leaves
// the later options unwritten.
void SaveSettings(TSettingsStore& store, const TSettings& settings);

// The longest lead a reminder may have: a day.
inline constexpr int32_t MaxRemindBefore = 1440;
