#pragma once

#include "diary/DiaryStore.h"

#include <string>

// Stands in for the diary page and the status bar. Like the page, setting the
// calendar's date selects the day in the store.
class TFakeDiaryView final : public IDiaryView
{
public:
    TDateTime CalendarDate() const override { return Date; }
    void SetCalendarDate(TDateTime date) override
    {
        Date = date;
        if (Store)
            Store->SelectCalendarDay();
    }
    void RepaintGrid() override { ++Repaints; }
    void SetGridRow(int row) override { GridRow = row; }
    void SetGridVisible(bool visible) override { GridVisible = visible; }
    void ShowOverdueText(const std::string& text) override { OverdueText = text; }

    TDiaryStore* Store = nullptr;
    TDateTime Date = 0;
    int Repaints = 0;
    int GridRow = 0;
    bool GridVisible = false;
    std::string OverdueText;
};
