#include "sync/SyncState.h"

#include "base/TextFile.h"

#include <charconv>

namespace
{

constexpr std::string_view Header = "TALVO95 SYNC 1";

std::string Escape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || c == '%' || b == 0x7F) {
            constexpr char digits[] = "0123456789ABCDEF";
            out += '%';
            out += digits[b >> 4];
            out += digits[b & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            out += value[i];
            continue;
        }
        unsigned byte = 0;
        if (i + 2 >= value.size())
            return std::nullopt;
        const auto [end, error]
            = std::from_chars(value.data() + i + 1, value.data() + i + 3, byte, 16);
        if (error != std::errc() || end != value.data() + i + 3)
            return std::nullopt;
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

} // namespace

std::string FormatSyncState(const TSyncState& state)
{
    std::string text(Header);
    text += "\nCollection\t" + Escape(state.Collection);
    text += "\nToken\t" + Escape(state.Token);
    text += "\nWindow\t" + std::to_string(state.Window.Year) + '\t'
        + std::to_string(state.Window.Month);
    for (const TSyncEntry& entry : state.Entries) {
        text += "\nEntry\t" + Escape(entry.Uid) + '\t' + Escape(entry.Href) + '\t'
            + Escape(entry.ETag);
        for (const TFingerprint& copy : entry.Copies)
            text += '\t' + copy.ToText();
    }
    text += '\n';
    return text;
}

std::optional<TSyncState> ParseSyncState(std::string_view text)
{
    if (!text.starts_with(Header) || !text.ends_with('\n'))
        return std::nullopt;
    TSyncState state;
    text.remove_prefix(Header.size() + (text.size() > Header.size() ? 1 : 0));
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::vector<std::string_view> fields = Fields(text.substr(0, end));
        text.remove_prefix(end + 1);
        const std::string_view kind = fields[0];
        if (kind == "Collection" || kind == "Token") {
            std::optional<std::string> value;
            if (fields.size() != 2 || !(value = Unescape(fields[1])))
                return std::nullopt;
            (kind == "Token" ? state.Token : state.Collection) = *value;
        } else if (kind == "Window") {
            if (fields.size() != 3)
                return std::nullopt;
            const auto number = [](std::string_view field, uint16_t& value) {
                const auto [end, error]
                    = std::from_chars(field.data(), field.data() + field.size(), value);
                return error == std::errc() && end == field.data() + field.size();
            };
            if (!number(fields[1], state.Window.Year) || !number(fields[2], state.Window.Month))
                return std::nullopt;
        } else if (kind == "Entry") {
            if (fields.size() < 4)
                return std::nullopt;
            TSyncEntry entry;
            const auto uid = Unescape(fields[1]);
            const auto href = Unescape(fields[2]);
            const auto etag = Unescape(fields[3]);
            if (!uid || !href || !etag || href->empty())
                return std::nullopt;
            entry.Uid = *uid;
            entry.Href = *href;
            entry.ETag = *etag;
            for (size_t i = 4; i < fields.size(); ++i) {
                const auto copy = TFingerprint::FromText(fields[i]);
                if (!copy)
                    return std::nullopt;
                entry.Copies.push_back(*copy);
            }
            state.Entries.push_back(std::move(entry));
        } else {
            return std::nullopt;
        }
    }
    return state;
}

TSyncState LoadSyncState(const std::filesystem::path& file, bool* damaged)
{
    if (damaged)
        *damaged = false;
    std::string text;
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return {};
    std::optional<TSyncState> state;
    if (ReadWholeFile(file, text))
        state = ParseSyncState(text);
    if (!state && damaged)
        *damaged = true;
    return state.value_or(TSyncState {});
}

bool SaveSyncState(const std::filesystem::path& file, const TSyncState& state)
{
    return WriteFileAtomically(file, FormatSyncState(state));
}
