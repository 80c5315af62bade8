#include "platform/SoundPlayer.h"

#include <QApplication>
#include <canberra.h>
#include <string>

std::vector<std::string_view> AlarmSoundEventIds(int32_t alarmSound)
{
    switch (alarmSound) {
    case 1:
        return { "dialog-information" };
    case 2:
        return { "dialog-warning" };
    case 3:
        return { "dialog-error" };
    case 4:
        // The freedesktop theme names its question sound after the window.
        return { "dialog-question", "window-question" };
    default:
        return {};
    }
}

void TDesktopSoundPlayer::TContextDeleter::operator()(ca_context* context) const
{
    ca_context_destroy(context);
}

TDesktopSoundPlayer::TDesktopSoundPlayer(std::function<void()> fallback)
    : Fallback(fallback ? std::move(fallback) : [] { QApplication::beep(); })
{
}

TDesktopSoundPlayer::~TDesktopSoundPlayer() = default;

void TDesktopSoundPlayer::Play(int32_t alarmSound)
{
    const std::vector<std::string_view> ids = AlarmSoundEventIds(alarmSound);
    if (ids.empty())
        return;
    for (std::string_view id : ids)
        if (PlayEvent(id))
            return;
    Fallback();
}

bool TDesktopSoundPlayer::PlayEvent(std::string_view id)
{
    if (Unplayable.contains(id))
        return false;
    if (!Context && !NoContext) {
        ca_context* context = nullptr;
        if (ca_context_create(&context) == CA_SUCCESS) {
            Context.reset(context);
            ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Talvo95", nullptr);
        } else {
            NoContext = true;
        }
    }
    if (!Context)
        return false;
    const std::string name(id);
    const int result = ca_context_play(Context.get(), 0, CA_PROP_EVENT_ID, name.c_str(),
        CA_PROP_EVENT_DESCRIPTION, "Alarm", nullptr);
    if (result == CA_SUCCESS)
        return true;
    if (result == CA_ERROR_NOTFOUND || result == CA_ERROR_NODRIVER)
        Unplayable.insert(name);
    return false;
}
