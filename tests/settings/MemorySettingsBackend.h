#pragma once

#include "settings/SettingsStore.h"

#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

// A settings backend in memory. It can hold values of a kind other than text
// (as a registry number or a hand-edited list would be), and refuse writes.
class TMemorySettingsBackend final : public ISettingsBackend
{
public:
    struct TNumber {
        int32_t Value;
    };
    std::map<std::string, std::variant<std::string, TNumber>, std::less<>> Values;
    std::set<std::string, std::less<>> Refused; // names whose writes are refused
    bool RefuseAll = false;
    bool RefuseBatch = false; // a batch's end fails, as a file that cannot be rewritten does
    std::vector<std::string> Written; // names, in the order they were written

    std::optional<std::string> ReadText(std::string_view name) override
    {
        const auto found = Values.find(name);
        if (found == Values.end())
            return std::nullopt;
        if (const auto* text = std::get_if<std::string>(&found->second))
            return *text;
        return std::nullopt;
    }
    bool WriteText(std::string_view name, std::string_view text) override
    {
        if (RefuseAll || Refused.contains(name))
            return false;
        Values.insert_or_assign(std::string(name), std::string(text));
        Written.emplace_back(name);
        return true;
    }
    bool EndBatch() override { return !RefuseBatch; }
    // The stored text of a value, or "<absent>".
    std::string Text(std::string_view name) const
    {
        const auto found = Values.find(name);
        if (found == Values.end())
            return "<absent>";
        if (const auto* text = std::get_if<std::string>(&found->second))
            return *text;
        return "<number>";
    }
};
