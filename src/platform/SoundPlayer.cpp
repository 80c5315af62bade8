#include "platform/SoundPlayer.h"

#include <QApplication>
#include <canberra.h>
#include <dlfcn.h>
#include <string>
#include <type_traits>

std::array<std::string_view, 5> AlarmSoundNames()
{
#ifdef Q_OS_WIN
    return { "No Sound", "Win Asterisk", "Win Exclamation", "Win Critical Stop", "Win Question" };
#else
    return { "No Sound", "Information", "Warning", "Error", "Question" };
#endif
}

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

// Only the types and names come from the library's header: the library itself
// is looked up at run time, so a start that plays no sound never maps it.
struct TDesktopSoundPlayer::TCanberra {
    decltype(&ca_context_create) Create = nullptr;
    decltype(&ca_context_destroy) Destroy = nullptr;
    decltype(&ca_context_change_props) ChangeProps = nullptr;
    decltype(&ca_context_play) PlaySound = nullptr;
    ca_context* Context = nullptr;

    ~TCanberra()
    {
        if (Context)
            Destroy(Context);
    }
};

TDesktopSoundPlayer::TDesktopSoundPlayer(std::function<void()> fallback, std::string library)
    : Library(std::move(library))
    , Fallback(fallback ? std::move(fallback) : [] { QApplication::beep(); })
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

bool TDesktopSoundPlayer::Load()
{
    // Never unloaded: its sound drivers keep threads and keys of their own.
    void* library = ::dlopen(Library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return false;
    auto api = std::make_unique<TCanberra>();
    const auto find = [library](auto& function, const char* name) {
        function
            = reinterpret_cast<std::remove_reference_t<decltype(function)>>(::dlsym(library, name));
        return function != nullptr;
    };
    if (!find(api->Create, "ca_context_create") || !find(api->Destroy, "ca_context_destroy")
        || !find(api->ChangeProps, "ca_context_change_props")
        || !find(api->PlaySound, "ca_context_play"))
        return false;
    if (api->Create(&api->Context) != CA_SUCCESS)
        return false;
    api->ChangeProps(api->Context, CA_PROP_APPLICATION_NAME, "Talvo95", nullptr);
    Canberra = std::move(api);
    return true;
}

bool TDesktopSoundPlayer::PlayEvent(std::string_view id)
{
    if (Unplayable.contains(id))
        return false;
    if (!Canberra && !NoContext)
        NoContext = !Load();
    if (!Canberra)
        return false;
    const std::string name(id);
    const int result = Canberra->PlaySound(Canberra->Context, 0, CA_PROP_EVENT_ID, name.c_str(),
        CA_PROP_EVENT_DESCRIPTION, "Alarm", nullptr);
    if (result == CA_SUCCESS)
        return true;
    if (result == CA_ERROR_NOTFOUND || result == CA_ERROR_NODRIVER)
        Unplayable.insert(name);
    return false;
}
