#include "app/TrayController.h"

#include "controls/ImageLists.h"
#include "platform/TrayIcon.h"

#include <QMenu>

using namespace Qt::StringLiterals;

TTrayController::TTrayController(TTrayIconBase& tray, bool noTray, QWidget* menuParent)
    : QObject(menuParent)
    , Tray(tray)
    , NoTray(noTray)
    , pmMain(new QMenu(menuParent))
{
    pmMain->setObjectName(u"pmMain"_s);
    auto add = [this](const QString& name, const QString& caption) {
        QAction* action = pmMain->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    // Access letters, one per item in the whole menu: R A M S E T I N B H P W X
    // are taken; Y is kept free for an item still to come.
    Restore = add(u"Restore"_s, u"&Restore"_s);
    Acknowledge = add(u"Acknowledge"_s, u"&Acknowledge"_s);
    MenuReminder = add(u"MenuReminder"_s, u"&Make a Stick-On Note"_s);
    pmMain->addSeparator()->setObjectName(u"N2"_s);
    ShowSched = add(u"ShowSched"_s, u"Show &Schedule"_s);
    MenuDiaryOld = add(u"MenuDiaryOld"_s, u"Show Purged &Events"_s);
    MenuExportIcs = add(u"MenuExportIcs"_s, u"Expor&t to iCalendar…"_s);
    MenuImportIcs = add(u"MenuImportIcs"_s, u"&Import from iCalendar…"_s);
    MenuSyncNow = add(u"MenuSyncNow"_s, u"Sync &now"_s);
    About = add(u"About"_s, u"A&bout"_s);
    Help = add(u"Help"_s, u"&Help"_s);
    pmMain->addSeparator()->setObjectName(u"S2"_s);
    Properties = add(u"Properties"_s, u"&Properties"_s);
    MenuAutostart = add(u"MenuAutostart"_s, u"Start &with the desktop session"_s);
    MenuAutostart->setCheckable(true);
    pmMain->addSeparator()->setObjectName(u"S1"_s);
    Exit = add(u"Exit"_s, u"E&xit"_s);

    pmMain->setDefaultAction(Restore);
    Acknowledge->setEnabled(false);
    ShowSched->setIcon(TImageLists::CalendarIcon(TImageLists::ciAlarm));

    Tray.SetMenu(pmMain);
    connect(&Tray, &TTrayIconBase::LeftClicked, this, &TTrayController::LeftClicked);
}

void TTrayController::AddIcon()
{
    Tip = u"Talvo95"_s;
    Tray.SetToolTip(Tip);
    Tray.SetIcon(TImageLists::CalendarIcon(TImageLists::ciAlarm));
    if (!NoTray)
        Tray.Show();
}

void TTrayController::DeleteIcon()
{
    if (!NoTray)
        Tray.Hide();
}

void TTrayController::UpdateTrayIcon(
    int imageIndex, bool dateTray, int todayDay, const QString& overdueText)
{
    if (NoTray)
        return;
    if (dateTray) {
        Image = DatedImage;
        Tray.SetIcon(TImageLists::DatedPageIcon(todayDay));
    } else {
        Image = imageIndex;
        Tray.SetIcon(TImageLists::CalendarIcon(imageIndex));
    }
    Tip = (u"Talvo95: "_s + overdueText).left(MaxTipLength);
    if (!Tip.isEmpty() && Tip.back().isHighSurrogate())
        Tip.chop(1);
    Tray.SetToolTip(Tip);
}

bool TTrayController::CanHideToTray() const
{
    return !NoTray && Tray.IsAvailable();
}
