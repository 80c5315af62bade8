#pragma once

#include "base/DateTime.h"

#include <QWidget>
#include <array>
#include <cstdint>

class IClipboard;
class QCheckBox;
class QPushButton;
class TDiaryStore;
class TScheduleGrid;
class TScheduleModel;
class TSettingsStore;
struct TSettings;

// The "Schedule" window: the diary's alarms (or all its events) from the first
// day of last month to the end of the diary window, with the overdue and
// today's rows in their colours. It reads the diary and never changes it; the
// list is a snapshot taken by each fill.
class TScheduleForm final : public QWidget
{
    Q_OBJECT

public:
    // Left, top, width, height as first designed.
    static constexpr std::array<int32_t, 4> DesignedPlacement { 20, 62, 468, 391 };

    // Takes its place from SchWinLeft, SchWinTop, SchWinWidth and SchWinHeight.
    TScheduleForm(TDiaryStore& diary, const IClock& clock, const TSettings& settings,
        IClipboard& clipboard, TSettingsStore& settingsStore, QWidget* parent = nullptr);
    ~TScheduleForm() override;

    // Left, top, width and height, as written at exit.
    std::array<int32_t, 4> Placement() const;
    // The four stored values, the designed ones where nothing is stored.
    static std::array<int32_t, 4> ReadPlacement(TSettingsStore& settingsStore);

    TScheduleGrid* Grid() const { return ScheduleGrid; }
    TScheduleModel& Model() const { return *FModel; }

    // Stores the diary page's working day back, reloads it and fills: the
    // opening, as "Refresh" does it.
    void OpenSchedule();
    // Lists the events again and shows the window.
    void FillSchedule();
    void ShowAllClick();
    void CopyClick();
    void GoThereClick();
    void RefreshClick() { OpenSchedule(); }
    void CloseBtnClick() { hide(); }

Q_SIGNALS:
    // The diary page is to show `day` with the event at `position` (1-based)
    // of its list, and the main window to come to the front.
    void GoThereRequested(double day, int position);

private:
    TDiaryStore& Diary;
    const IClock& Clock;
    IClipboard& Clipboard;
    TScheduleModel* FModel = nullptr;
    TScheduleGrid* ScheduleGrid = nullptr;
    QCheckBox* ShowAll = nullptr;
    QPushButton* Copy = nullptr;
    QPushButton* GoThere = nullptr;
    QPushButton* Refresh = nullptr;
    QPushButton* CloseBtn = nullptr;
};
