#pragma once

#include "diary/EventDescription.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

// The diary's event record, its day lists and the time-of-day helpers.

enum TEventType : uint8_t { etBlank = 0, etAlarm = 1, etTicked = 2, etCrossed = 3 };

// One event, a node of its day's singly linked list. A node owns the rest of
// its list through Next; freeing a node frees everything after it, without
// recursion, so a list of any length can be dropped. An event is made alone
// (NewEvent) or as one of a batch (TEventBatch); either way it is freed the
// same way, through its owning link.
struct TDiaryEvent {
    std::unique_ptr<TDiaryEvent> Next;
    TDescription Description; // empty = dead, freed by the next SortDay of its day
    uint8_t Locked = 0; // 1: the monthly purge keeps it as an alarm for next year
    TEventType EventType = etBlank;
    uint16_t Time = 0; // hhmm as hours * 100 + minutes; 0 = no time

    TDiaryEvent() = default;
    TDiaryEvent(const TDiaryEvent&) = delete;
    TDiaryEvent& operator=(const TDiaryEvent&) = delete;
    ~TDiaryEvent();

    // Gives an event made alone back to the heap, and one of a batch back to
    // its block, which goes when its last event does.
    static void operator delete(TDiaryEvent* event, std::destroying_delete_t);

private:
    friend class TEventBatch;
    // How far back from the event its batch's block starts; 0 for one made alone.
    uint32_t BlockOffset = 0;
};

// One event's fields, apart from the list it hangs in.
struct TEventValues {
    uint8_t Locked = 0;
    TEventType EventType = etBlank;
    uint16_t Time = 0;
    TDescription Description;

    friend bool operator==(const TEventValues&, const TEventValues&) = default;
};
using TDayValues = std::vector<TEventValues>;

// A list head or a Next field: the place a list hangs from.
using TEventLink = std::unique_ptr<TDiaryEvent>;

// 12 months of 32 day slots; the 32nd slot of each month stays empty.
inline constexpr uint16_t DiaryDayCount = 384;
// SelectedDay before the first selection.
inline constexpr uint16_t NoDay = DiaryDayCount;
// Sort key of an event with no description: after every clock time.
inline constexpr uint16_t DeadEventKey = 9999;

using TDiaryDays = std::array<TEventLink, DiaryDayCount>;

// The slot of (month 1..12, day 1..31): 0..382.
constexpr uint16_t DayIndex(uint16_t month, uint16_t day)
{
    return static_cast<uint16_t>((month - 1) * 32 + (day - 1));
}

std::unique_ptr<TDiaryEvent> NewEvent();

// Makes up to `capacity` events and `textBytes` bytes of their descriptions
// from one allocation, for a load that knows how much it needs: no heap call
// per event or description, and the events lie in the order they were taken.
// The block is freed when the batch and every event and description that uses
// it are gone; they may outlive the batch and be freed in any order.
class TEventBatch
{
public:
    explicit TEventBatch(size_t capacity, size_t textBytes = 0);
    TEventBatch(const TEventBatch&) = delete;
    TEventBatch& operator=(const TEventBatch&) = delete;
    ~TEventBatch();

    // An empty event; one made alone once the block is full.
    std::unique_ptr<TDiaryEvent> Take();
    // Gives the event a copy of `text` in the block; a copy of its own once
    // the block's room for texts is used up.
    void Describe(TDiaryEvent& event, std::string_view text);

private:
    TEventBlock* Block = nullptr;
};
// Frees the whole list that hangs from the link and leaves the link empty.
void FreeEventsFrom(TEventLink& link);
// The link after the last event of the list (the link itself when it is empty).
TEventLink& ListEnd(TEventLink& link);
// Drops the trailing blanks of the description, then gives DeadEventKey for an
// empty description, else the time.
uint16_t EventSortKey(TDiaryEvent& event);
// Orders the list by EventSortKey, equal keys keeping their order, after every
// description has lost its trailing blanks; then frees the events whose
// description is empty. The contents move between the nodes; the first node
// stays first unless every event was dead.
void SortDay(TEventLink& link);

// 3 gives etBlank, as does any value the diary does not know; others step on.
TEventType CycleEventType(TEventType type);

uint16_t TimeToMinutes(uint16_t time);
uint16_t MinutesToTime(uint16_t minutes);
// To the next full or half hour; from 23:30 on the time stays.
void NextHalfHour(uint16_t& time);
// To the previous full or half hour; below 00:30 it becomes 0 (no time).
void PrevHalfHour(uint16_t& time);
// "09:30" for 930, "" for 0; an hour or minute field over 99 shows as "??".
std::string TimeText(uint16_t time);
