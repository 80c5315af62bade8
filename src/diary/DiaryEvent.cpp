#include "diary/DiaryEvent.h"

#include "base/LongStrings.h"

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

// The header of a batch's allocation; its events follow it.
struct TEventBlock {
    // The batch itself and every event taken and not yet freed.
    size_t Users = 1;
    size_t Taken = 0;
    size_t Capacity = 0;

    TDiaryEvent* Places() { return reinterpret_cast<TDiaryEvent*>(this + 1); }
    static void Release(TEventBlock* block)
    {
        if (--block->Users == 0) {
            block->~TEventBlock();
            ::operator delete(block);
        }
    }
};
static_assert(sizeof(TEventBlock) % alignof(TDiaryEvent) == 0);

void TDiaryEvent::operator delete(TDiaryEvent* event, std::destroying_delete_t)
{
    TEventBlock* block = event->Block;
    event->~TDiaryEvent();
    if (block)
        TEventBlock::Release(block);
    else
        ::operator delete(event);
}

std::unique_ptr<TDiaryEvent> NewEvent()
{
    return std::unique_ptr<TDiaryEvent>(new TDiaryEvent);
}

TEventBatch::TEventBatch(size_t capacity)
{
    if (capacity == 0)
        return;
    void* memory = ::operator new(sizeof(TEventBlock) + capacity * sizeof(TDiaryEvent));
    Block = new (memory) TEventBlock;
    Block->Capacity = capacity;
}

TEventBatch::~TEventBatch()
{
    if (Block)
        TEventBlock::Release(Block);
}

std::unique_ptr<TDiaryEvent> TEventBatch::Take()
{
    if (!Block || Block->Taken == Block->Capacity)
        return NewEvent();
    auto* event = new (Block->Places() + Block->Taken) TDiaryEvent;
    event->Block = Block;
    ++Block->Taken;
    ++Block->Users;
    return std::unique_ptr<TDiaryEvent>(event);
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
    // The contents move, the nodes stay where they are: the list keeps the
    // memory order it was built in, which keeps later walks and the final free
    // fast. Each key carries the event's position below it, so equal keys keep
    // their order under a plain sort.
    struct TContent {
        uint8_t Locked;
        TEventType EventType;
        uint16_t Time;
        std::string Description;
    };
    std::vector<uint64_t> keys;
    std::vector<TContent> contents;
    for (TDiaryEvent* e = link.get(); e; e = e->Next.get()) {
        const uint64_t key = EventSortKey(*e);
        keys.push_back(key << 32 | contents.size());
        contents.push_back({ e->Locked, e->EventType, e->Time, std::move(e->Description) });
    }
    std::sort(keys.begin(), keys.end());
    // Dead events are picked by their description, not by their place: a time
    // of 9999 or more shares or passes the dead key.
    TEventLink* slot = &link;
    for (const uint64_t key : keys) {
        TContent& content = contents[static_cast<uint32_t>(key)];
        if (content.Description.empty())
            continue;
        TDiaryEvent& event = **slot;
        event.Locked = content.Locked;
        event.EventType = content.EventType;
        event.Time = content.Time;
        event.Description = std::move(content.Description);
        slot = &event.Next;
    }
    FreeEventsFrom(*slot);
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
