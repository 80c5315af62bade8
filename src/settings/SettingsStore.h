#pragma once

#include "settings/SettingKeys.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Where the named text values live (an INI file, the registry, memory in tests).
// Every access stands alone: it opens the location, does its work and closes it.
class ISettingsBackend
{
public:
    virtual ~ISettingsBackend() = default;
    // The stored text; nothing when the value is absent, is not a string, or the
    // location cannot be read.
    virtual std::optional<std::string> ReadText(std::string_view name) = 0;
    // False when the write was refused.
    virtual bool WriteText(std::string_view name, std::string_view text) = 0;
    // A batch of accesses: between the two the backend may keep its location
    // open and hold writes back, to store them all at once at the end. EndBatch
    // is false when what was held back did not reach the storage; nothing of it
    // is then kept. A new BeginBatch drops a batch that was never ended.
    virtual void BeginBatch() { }
    virtual bool EndBatch() { return true; }
};

// A write the backend refused: "Failed to set data for 'ModemPort'".
class ESettingsError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The settings store: reads never fail (an unreadable value reads as empty and
// so gives the caller's default), writes raise ESettingsError when refused.
// Callers bracket each batch of accesses with OpenSettings ... CloseSettings;
// a batch that a refused write abandoned is never closed, and the next
// OpenSettings starts afresh. Within a batch the backend may store the writes
// together when the batch closes: CloseSettings then raises the error, naming
// the first value of the batch that did not reach the storage.
class TSettingsStore
{
public:
    explicit TSettingsStore(std::unique_ptr<ISettingsBackend> backend);

    void OpenSettings();
    void CloseSettings();
    bool InBatch() const { return Batch; }

    std::string ReadSettingText(std::string_view name);
    void WriteSettingText(std::string_view name, std::string_view text);
    // A signed decimal number that fits 32 bits, written as IntToText writes
    // it; the default for anything else: an empty text, "abc", "12px", " 5", or
    // a number too large to fit.
    int32_t ReadSettingInt(std::string_view name, int32_t defaultValue);
    // With the key's own default; the key must have one.
    int32_t ReadSettingInt(const TSettingKey& key);
    void WriteSettingInt(std::string_view name, int32_t value);

private:
    std::unique_ptr<ISettingsBackend> Backend;
    bool Batch = false;
    // The first value written in the open batch.
    std::string FirstWritten;
};
