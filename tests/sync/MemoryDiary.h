#pragma once

#include "sync/DiarySync.h"

#include <algorithm>
#include <set>

// A diary that is only its list of events, for a sync in a test.
class TMemoryDiary final : public ISyncDiary
{
public:
    explicit TMemoryDiary(TSyncWindow window, std::vector<TSyncEvent> events = {})
        : Now(window)
        , List(std::move(events))
    {
    }
    TSyncWindow Window() const override { return Now; }
    std::vector<TSyncEvent> Events() override { return Given = List; }
    void Apply(const TSyncPlan& plan) override
    {
        std::set<size_t> gone;
        std::vector<TSyncEvent> added;
        for (const TSyncAction& a : plan.Actions) {
            if (a.Kind == TSyncAction::akDownload || a.Kind == TSyncAction::akDeleteLocal)
                gone.insert(a.Locals.begin(), a.Locals.end());
            if (a.Kind == TSyncAction::akDownload || a.Kind == TSyncAction::akConflictCopy)
                for (const TSyncEvent& e : a.Events)
                    if (Now.Contains(e.Date))
                        added.push_back(e);
        }
        List.clear();
        for (size_t i = 0; i < Given.size(); ++i)
            if (!gone.contains(i))
                List.push_back(Given[i]);
        List.insert(List.end(), added.begin(), added.end());
    }
    bool Save() override { return Saves; }

    // The events in a stable order, for comparing two diaries.
    std::vector<TSyncEvent> Sorted() const
    {
        std::vector<TSyncEvent> sorted = List;
        std::sort(sorted.begin(), sorted.end(), [](const TSyncEvent& a, const TSyncEvent& b) {
            return std::tie(a.Date.Year, a.Date.Month, a.Date.Day, a.Time, a.Description)
                < std::tie(b.Date.Year, b.Date.Month, b.Date.Day, b.Time, b.Description);
        });
        return sorted;
    }

    TSyncWindow Now;
    std::vector<TSyncEvent> List;
    bool Saves = true;

private:
    std::vector<TSyncEvent> Given;
};
