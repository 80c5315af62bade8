#include "diary/DiaryEvent.h"

#include "app/LongStrings.h"

#include <algorithm>
#include <utility>
#include <vector>

TDiaryEvent::~TDiaryEvent()
{
    // Unhook the successors one at a time so that each node dies with an empty
    // Next; a recursive chain of destructors would run out of stack on long lists.
    TEventLink rest = std::move(Next);
    while (rest)
        rest = std::move(rest->Next);
}

std::unique_ptr<TDiaryEvent> NewEvent()
{
    return std::make_unique<TDiaryEvent>();
}

void FreeEventsFrom(TEventLink& link)
{
    link.reset();
}

TEventLink& ListEnd(TEventLink& link)
{
    TEventLink* end = &link;
    while (*end)
        end = &(*end)->Next;
    return *end;
}

uint16_t EventSortKey(TDiaryEvent& event)
{
    std::string& text = event.Description;
    const size_t kept = text.find_last_not_of(' ');
    text.erase(kept == std::string::npos ? 0 : kept + 1);
    return text.empty() ? DeadEventKey : event.Time;
}

void SortDay(TEventLink& link)
{
    if (!link)
        return;
    struct TKeyed {
        uint16_t Key;
        TEventLink Event;
    };
    std::vector<TKeyed> events;
    for (TEventLink node = std::move(link); node;) {
        TEventLink next = std::move(node->Next);
        const uint16_t key = EventSortKey(*node);
        events.push_back({key, std::move(node)});
        node = std::move(next);
    }
    std::stable_sort(events.begin(), events.end(),
        [](const TKeyed& a, const TKeyed& b) { return a.Key < b.Key; });
    // Relink from the back; an event left without a description is dead and
    // goes with its vector entry. (A time of 9999 or more shares or passes the
    // dead key, so dead events are picked by their description, not by position.)
    TEventLink head;
    for (auto it = events.rbegin(); it != events.rend(); ++it) {
        if (it->Event->Description.empty())
            continue;
        it->Event->Next = std::move(head);
        head = std::move(it->Event);
    }
    link = std::move(head);
}

TEventType CycleEventType(TEventType type)
{
    return type >= etCrossed ? etBlank : static_cast<TEventType>(type + 1);
}

uint16_t TimeToMinutes(uint16_t time)
{
    return static_cast<uint16_t>(time % 100 + time / 100 * 60);
}

uint16_t MinutesToTime(uint16_t minutes)
{
    return static_cast<uint16_t>(minutes % 60 + minutes / 60 * 100);
}

void NextHalfHour(uint16_t& time)
{
    if (time < 2330)
        time = MinutesToTime(static_cast<uint16_t>(TimeToMinutes(time) / 30 * 30 + 30));
}

void PrevHalfHour(uint16_t& time)
{
    if (time < 30)
        time = 0;
    else
        time = MinutesToTime(static_cast<uint16_t>(TimeToMinutes(time) / 30 * 30 - 30));
}

std::string TimeText(uint16_t time)
{
    if (time == 0)
        return {};
    const auto field
        = [](unsigned n) { return TwoDigits(static_cast<uint8_t>(std::min(n, 100u))); };
    return field(time / 100u) + ":" + field(time % 100u);
}
