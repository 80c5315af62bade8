#include "settings/SettingsStore.h"

#include "base/LongStrings.h"

#include <charconv>

TSettingsStore::TSettingsStore(std::unique_ptr<ISettingsBackend> backend)
    : Backend(std::move(backend))
{
}

void TSettingsStore::OpenSettings()
{
    Backend->BeginBatch();
    Batch = true;
    FirstWritten.clear();
}

void TSettingsStore::CloseSettings()
{
    if (!Batch)
        return;
    Batch = false;
    // A batch of reads alone has nothing to lose.
    if (!Backend->EndBatch() && !FirstWritten.empty())
        throw ESettingsError("Failed to set data for '" + FirstWritten + "'");
}

std::string TSettingsStore::ReadSettingText(std::string_view name)
{
    std::optional<std::string> text = Backend->ReadText(name);
    if (!text)
        return {};
    // A stored text ends at its first NUL, as a string value does.
    const size_t end = text->find('\0');
    if (end != std::string::npos)
        text->resize(end);
    return std::move(*text);
}

void TSettingsStore::WriteSettingText(std::string_view name, std::string_view text)
{
    if (!Backend->WriteText(name, text)) {
        throw ESettingsError("Failed to set data for '" + std::string(name) + "'");
    }
    if (Batch && FirstWritten.empty())
        FirstWritten = name;
}

int32_t TSettingsStore::ReadSettingInt(std::string_view name, int32_t defaultValue)
{
    // Only a whole decimal number that fits counts: anything else would be
    // read wrapped or cut, and written back so at the next save.
    const std::string text = ReadSettingText(name);
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return text.empty() || error != std::errc() || stop != end ? defaultValue : value;
}

int32_t TSettingsStore::ReadSettingInt(const TSettingKey& key)
{
    if (!key.Default)
        throw std::logic_error("'" + std::string(key.Name) + "' is read with the caller's default");
    return ReadSettingInt(key.Name, *key.Default);
}

void TSettingsStore::WriteSettingInt(std::string_view name, int32_t value)
{
    WriteSettingText(name, IntToText(value));
}
