// Any stored texts load into options within their ranges, and numbers round-trip.
#include "base/LongStrings.h"
#include "base/Utf8Text.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>

namespace
{

class TFuzzBackend final : public ISettingsBackend
{
public:
    std::map<std::string, std::string, std::less<>> Values;
    std::optional<std::string> ReadText(std::string_view name) override
    {
        const auto found = Values.find(name);
        return found == Values.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    bool WriteText(std::string_view name, std::string_view text) override
    {
        Values.insert_or_assign(std::string(name), std::string(text));
        return true;
    }
};

constexpr const char* Names[] = { "ModemPort", "AlarmSound", "ColourCalendar", "ColourTree",
    "ColourCalculator", "ColourComingUp", "ColourOverdue", "ColourToday", "FontName", "FontSize",
    "FontStyle", "OnTop", "ShowHints", "DateTray" };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One value per line, in the order of the names.
    auto backend = std::make_unique<TFuzzBackend>();
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (const char* name : Names) {
        const size_t end = rest.find('\n');
        backend->Values[name] = std::string(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    TSettingsStore store(std::move(backend));
    TSettings settings;
    LoadSettings(store, settings);
    if (settings.ModemPort < -1 || settings.ModemPort > 4 || settings.AlarmSound < -1
        || settings.AlarmSound > 4 || settings.SettingsFont.Name.empty()
        || CharacterCount(settings.SettingsFont.Name) > MaxFontNameLength
        || RepairUtf8(settings.SettingsFont.Name) != settings.SettingsFont.Name)
        std::abort();
    SaveSettings(store, settings);
    TSettings again;
    LoadSettings(store, again);
    if (!(again == settings))
        std::abort();
    int32_t n = 0;
    std::memcpy(&n, data, std::min(size, sizeof n));
    if (TextToInt(IntToText(n)) != n)
        std::abort();
    return 0;
}
