#pragma once

#include "base/DateTime.h"
#include "diary/DiaryEvent.h"

#include <cstdint>
#include <string>
#include <vector>

class TDiaryStore;

// A day's events as they stand once the day is committed: trailing blanks
// gone, dead events gone, ordered by time with equal times in their order.
TDayValues CommittedDay(TDayValues day);

// One step of the diary's undo history: each day the step changed, as it was
// before and after. Reverting puts the days back as they were before, applying
// as they were after; both give the working day its list in the order it was
// recorded, so the grid's rows come back where they were.
//
// A step is only reverted over the days as it left them: a day changed since
// by something the history never saw (the purge, a load) refuses it.
class TDiaryEdit
{
public:
    TDiaryEdit() = default;
    TDiaryEdit(std::string name, TDateTime day, int row, int column)
        : FName(std::move(name))
        , FDay(day)
        , FRow(row)
        , FColumn(column)
    {
    }

    // What the menus say after "Undo ".
    const std::string& Name() const { return FName; }
    // The calendar day the step was made on and the grid cell it was made in.
    TDateTime Day() const { return FDay; }
    int Row() const { return FRow; }
    int Column() const { return FColumn; }
    bool Empty() const { return Days.empty(); }
    int DaysChanged() const { return static_cast<int>(Days.size()); }

    bool CanRevert(const TDiaryStore& store) const;
    bool CanApply(const TDiaryStore& store) const;
    void Revert(TDiaryStore& store) const;
    void Apply(TDiaryStore& store) const;
    // Takes in a later step of the same kind: this step then goes from its own
    // before to the later one's after. Days back where they began are left out.
    void Merge(const TDiaryEdit& later);

    // Records a day's change whose two states the caller kept. Here and below,
    // a day whose committed events did not change is left out.
    void Record(uint16_t slot, TDayValues before, TDayValues after);
    // Records the day's list as it is now, before it changes; a day already
    // recorded keeps its first state.
    void Watch(const TDiaryStore& store, uint16_t slot);
    // Records the watched days as they are now, after the change, and keeps only
    // the days that changed.
    void Finish(const TDiaryStore& store);

private:
    struct TDayChange {
        uint16_t Slot;
        TDayValues Before;
        TDayValues After;
    };
    void DropUnchanged();
    static bool Matches(const TDiaryStore& store, const TDayChange& day, bool after);

    std::string FName;
    TDateTime FDay = 0;
    int FRow = 0;
    int FColumn = 0;
    std::vector<TDayChange> Days;
};

// The slots of the days from `from` on, `step` days apart, that lie in the
// diary window: the days a weekly copy or a scan from `from` can reach.
std::vector<uint16_t> WindowDays(const TDiaryStore& store, TDateTime from, int step);
