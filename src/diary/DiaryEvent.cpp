#include "diary/DiaryEvent.h"

#include "base/LongStrings.h"

#include <algorithm>
#include <cstring>
#include <limits>
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

void TDiaryEvent::operator delete(TDiaryEvent* event, std::destroying_delete_t)
{
    const uint32_t offset = event->BlockOffset;
    event->~TDiaryEvent();
    if (offset)
        TEventBlock::Release(
            reinterpret_cast<TEventBlock*>(reinterpret_cast<char*>(event) - offset));
    else
        ::operator delete(event);
}

std::unique_ptr<TDiaryEvent> NewEvent()
{
    return std::unique_ptr<TDiaryEvent>(new TDiaryEvent);
}

static_assert(sizeof(TEventBlock) % alignof(TDiaryEvent) == 0);
// Every byte counts a hundred thousand times in a big diary.
static_assert(sizeof(void*) != 8 || sizeof(TDiaryEvent) == 32);

TEventBatch::TEventBatch(size_t capacity, size_t textBytes)
{
    // Every event and text must lie within 4 GB of the header; what does not
    // fit is made alone.
    constexpr size_t room = std::numeric_limits<uint32_t>::max() - sizeof(TEventBlock);
    capacity = std::min(capacity, room / sizeof(TDiaryEvent));
    textBytes = std::min(textBytes, room - capacity * sizeof(TDiaryEvent));
    if (capacity == 0 && textBytes == 0)
        return;
    const size_t eventBytes = capacity * sizeof(TDiaryEvent);
    const size_t bytes = sizeof(TEventBlock) + eventBytes + textBytes;
    void* memory = ::operator new(bytes);
    Block = new (memory) TEventBlock;
    Block->Capacity = capacity;
    Block->FreeText = Block->Places() + eventBytes;
    Block->TextEnd = Block->FreeText + textBytes;
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
    char* place = Block->Places() + Block->Taken * sizeof(TDiaryEvent);
    auto* event = new (place) TDiaryEvent;
    event->BlockOffset = static_cast<uint32_t>(place - reinterpret_cast<char*>(Block));
    ++Block->Taken;
    Block->Hold();
    return std::unique_ptr<TDiaryEvent>(event);
}

void TEventBatch::Describe(TDiaryEvent& event, std::string_view text)
{
    if (!Block || text.empty()
        || static_cast<size_t>(Block->TextEnd - Block->FreeText) < text.size()) {
        event.Description = text;
        return;
    }
    char* copy = Block->FreeText;
    std::memcpy(copy, text.data(), text.size());
    Block->FreeText += text.size();
    event.Description.Borrow(*Block, { copy, text.size() });
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
    TDescription& text = event.Description;
    const size_t kept = text.find_last_not_of(' ');
    text.erase(kept == TDescription::npos ? 0 : kept + 1);
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
        TDescription Description;
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
