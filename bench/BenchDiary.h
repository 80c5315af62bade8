#pragma once

#include "diary/DiaryStore.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// A diary of `count` sorted events spread over the real days of the table,
// descriptions of 10 to 40 letters and digits (never holding a '#').
inline void FillBenchDiary(TDiaryDays& days, int count)
{
    std::mt19937 random(7);
    const std::string letters = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::vector<TEventLink*> ends;
    for (TEventLink& head : days)
        ends.push_back(&ListEnd(head));
    for (int i = 0; i < count; ++i) {
        uint16_t slot;
        do
            slot = static_cast<uint16_t>(random() % DiaryDayCount);
        while (slot % 32 >= 28);
        auto event = NewEvent();
        event->EventType = static_cast<TEventType>(random() % 4);
        event->Time = static_cast<uint16_t>(random() % 24 * 100 + random() % 60);
        std::string description(10 + random() % 31, ' ');
        for (char& c : description)
            c = letters[random() % letters.size()];
        event->Description = description;
        TEventLink*& end = ends[slot];
        *end = std::move(event);
        end = &(*end)->Next;
    }
    for (TEventLink& head : days)
        SortDay(head);
}
