#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QWidget;
class TTrayIconBase;

// The tray icon and its menu `pmMain`. The main window connects the menu's
// actions to its handlers and tells the controller what to show.
class TTrayController final : public QObject
{
    Q_OBJECT
public:
    TTrayController(TTrayIconBase& tray, bool noTray, QWidget* menuParent);

    QMenu* Menu() const { return pmMain; }
    QAction* Restore = nullptr;
    QAction* Acknowledge = nullptr;
    QAction* MenuReminder = nullptr;
    QAction* ShowSched = nullptr;
    QAction* MenuDiaryOld = nullptr;
    QAction* MenuExportIcs = nullptr;
    QAction* MenuImportIcs = nullptr;
    QAction* MenuSyncNow = nullptr;
    QAction* About = nullptr;
    QAction* Help = nullptr;
    QAction* Properties = nullptr;
    QAction* MenuAutostart = nullptr;
    QAction* Exit = nullptr;

    // Adds the icon to the notification area, unless started without a tray.
    void AddIcon();
    void DeleteIcon();
    // The tray picture and tip: the dated calendar page when `dateTray` is on
    // (whatever `imageIndex` asks for), else calendar image `imageIndex`; the
    // tip "Talvo95: " and the overdue text, cut to 63 characters.
    void UpdateTrayIcon(int imageIndex, bool dateTray, int todayDay, const QString& overdueText);
    QString ToolTip() const { return Tip; }
    int ShownImage() const { return Image; }
    // Whether closing the window can leave the program in the tray now.
    bool CanHideToTray() const;
    TTrayIconBase& Icon() const { return Tray; }

    static constexpr int MaxTipLength = 63;
    // The image index that stands for the dated page.
    static constexpr int DatedImage = 6;

Q_SIGNALS:
    void LeftClicked();

private:
    TTrayIconBase& Tray;
    bool NoTray;
    QMenu* pmMain;
    QString Tip;
    int Image = -1;
};
