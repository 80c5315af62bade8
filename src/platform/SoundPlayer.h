#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Plays the sound of an item of the "Alarm Sound" list.
class ISoundPlayer
{
public:
    virtual ~ISoundPlayer() = default;
    // 1 information, 2 warning, 3 error, 4 question; 0 ("No Sound"), -1 (none
    // chosen) and anything else play nothing.
    virtual void Play(int32_t alarmSound) = 0;
};

// What the "Alarm Sound" list calls its items, "No Sound" first: the sounds
// as this desktop plays them. Only the names differ between desktops; the
// stored choice is the item's place in the list.
std::array<std::string_view, 5> AlarmSoundNames();

// The desktop event sounds names tried for an item, best first; none for an
// item that plays nothing.
std::vector<std::string_view> AlarmSoundEventIds(int32_t alarmSound);

// The desktop's event sounds through libcanberra, where a sound server or
// sound card plays them; the plain beep where none does. Playing never waits
// for the sound to end. The library and its sound drivers are loaded with the
// first sound, not at start.
class TDesktopSoundPlayer final : public ISoundPlayer
{
public:
    // `fallback` sounds when no event sound can be played (nor `library`
    // loaded): the application's beep unless given.
    explicit TDesktopSoundPlayer(
        std::function<void()> fallback = {}, std::string library = "libcanberra.so.0");
    ~TDesktopSoundPlayer() override;
    TDesktopSoundPlayer(const TDesktopSoundPlayer&) = delete;
    TDesktopSoundPlayer& operator=(const TDesktopSoundPlayer&) = delete;

    void Play(int32_t alarmSound) override;

private:
    bool PlayEvent(std::string_view id);
    bool Load();

    // The library's functions and its context, made on the first sound.
    struct TCanberra;
    std::string Library;
    std::unique_ptr<TCanberra> Canberra;
    bool NoContext = false;
    // Sounds that could not be found or had no driver: not tried again in this
    // run, so a machine without audio hears the beep at once and its sound
    // library does not complain every minute.
    std::set<std::string, std::less<>> Unplayable;
    std::function<void()> Fallback;
};
