#include "settings/Settings.h"

#include "base/Utf8Text.h"
#include "settings/SettingsStore.h"

#include <algorithm>

namespace
{

// The radio lists of modem ports and alarm sounds have five items; -1 selects none.
int32_t ClampToList(int32_t index)
{
    return std::clamp(index, -1, 4);
}

TColour ReadColour(TSettingsStore& store, const TSettingKey& key)
{
    return TColour(store.ReadSettingInt(key));
}

bool ReadFlag(TSettingsStore& store, const TSettingKey& key)
{
    return store.ReadSettingInt(key) != 0;
}

void WriteColour(TSettingsStore& store, const TSettingKey& key, TColour colour)
{
    store.WriteSettingInt(key.Name, int32_t(colour));
}

void WriteFlag(TSettingsStore& store, const TSettingKey& key, bool on)
{
    store.WriteSettingInt(key.Name, on ? 1 : 0);
}

} // namespace

void CutFontName(std::string& name)
{
    // Damaged bytes become U+FFFD first, so each counts as a character.
    name = RepairUtf8(name);
    name.resize(CharacterPrefixSize(name, MaxFontNameLength));
}

void LoadSettings(TSettingsStore& store, TSettings& settings)
{
    store.OpenSettings();
    settings.ModemPort = ClampToList(store.ReadSettingInt(Setting::ModemPort));
    settings.AlarmSound = ClampToList(store.ReadSettingInt(Setting::AlarmSound));
    settings.ColourCalendar = ReadColour(store, Setting::ColourCalendar);
    settings.ColourTree = ReadColour(store, Setting::ColourTree);
    settings.ColourCalculator = ReadColour(store, Setting::ColourCalculator);
    settings.ColourComingUp = ReadColour(store, Setting::ColourComingUp);
    settings.ColourOverdue = ReadColour(store, Setting::ColourOverdue);
    settings.ColourToday = ReadColour(store, Setting::ColourToday);

    TSettingsFont& font = settings.SettingsFont;
    const std::string name = store.ReadSettingText(Setting::FontName.Name);
    if (!name.empty())
        font.Name = name;
    CutFontName(font.Name);
    if (font.Name.empty())
        font.Name = DefaultFontName;
    font.Size = store.ReadSettingInt(Setting::FontSize);
    font.Style = store.ReadSettingInt(Setting::FontStyle) & FontStyleBits;

    settings.OnTop = ReadFlag(store, Setting::OnTop);
    settings.ShowHints = ReadFlag(store, Setting::ShowHints);
    settings.DateTray = ReadFlag(store, Setting::DateTray);
    settings.Notifications = ReadFlag(store, Setting::Notifications);
    settings.RemindBefore
        = std::clamp(store.ReadSettingInt(Setting::RemindBefore), 0, MaxRemindBefore);
    settings.Background = ReadFlag(store, Setting::Background);
    TSyncSettings& sync = settings.Sync;
    sync.Url = store.ReadSettingText(Setting::SyncUrl.Name);
    sync.User = store.ReadSettingText(Setting::SyncUser.Name);
    sync.Calendar = store.ReadSettingText(Setting::SyncCalendar.Name);
    sync.Interval = std::clamp(store.ReadSettingInt(Setting::SyncInterval), 1, MaxSyncInterval);
    sync.AllowUnencrypted = ReadFlag(store, Setting::SyncUnencrypted);
    store.CloseSettings();
}

void SaveSettings(TSettingsStore& store, const TSettings& settings)
{
    store.OpenSettings();
    store.WriteSettingInt(Setting::ModemPort.Name, settings.ModemPort);
    store.WriteSettingInt(Setting::AlarmSound.Name, settings.AlarmSound);
    WriteColour(store, Setting::ColourCalendar, settings.ColourCalendar);
    WriteColour(store, Setting::ColourTree, settings.ColourTree);
    WriteColour(store, Setting::ColourCalculator, settings.ColourCalculator);
    WriteColour(store, Setting::ColourComingUp, settings.ColourComingUp);
    WriteColour(store, Setting::ColourOverdue, settings.ColourOverdue);
    WriteColour(store, Setting::ColourToday, settings.ColourToday);
    store.WriteSettingText(Setting::FontName.Name, settings.SettingsFont.Name);
    store.WriteSettingInt(Setting::FontSize.Name, settings.SettingsFont.Size);
    store.WriteSettingInt(Setting::FontStyle.Name, settings.SettingsFont.Style & FontStyleBits);
    WriteFlag(store, Setting::OnTop, settings.OnTop);
    WriteFlag(store, Setting::ShowHints, settings.ShowHints);
    WriteFlag(store, Setting::DateTray, settings.DateTray);
    WriteFlag(store, Setting::Notifications, settings.Notifications);
    store.WriteSettingInt(Setting::RemindBefore.Name, settings.RemindBefore);
    WriteFlag(store, Setting::Background, settings.Background);
    store.WriteSettingText(Setting::SyncUrl.Name, settings.Sync.Url);
    store.WriteSettingText(Setting::SyncUser.Name, settings.Sync.User);
    store.WriteSettingText(Setting::SyncCalendar.Name, settings.Sync.Calendar);
    store.WriteSettingInt(Setting::SyncInterval.Name, settings.Sync.Interval);
    WriteFlag(store, Setting::SyncUnencrypted, settings.Sync.AllowUnencrypted);
    store.CloseSettings();
}
