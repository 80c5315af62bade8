#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "controls/Dialogues.h"
#include "controls/ProgramIcon.h"
#include "platform/Autostart.h"

#include <QAction>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

// How the main window fits a desktop: its menu where no tray shows one,
// starting with the session, and starting hidden.

void TTalvoForm::CreateMenuButton()
{
    FMenuButton = new QToolButton(FPageControl);
    FMenuButton->setObjectName(u"MenuButton"_s);
    FMenuButton->setText(u"Menu"_s);
    FMenuButton->setIcon(TProgramIcon::Icon());
    FMenuButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    FMenuButton->setAutoRaise(true);
    FMenuButton->setPopupMode(QToolButton::InstantPopup);
    // The very menu of the tray: the same items, states and handlers.
    FMenuButton->setMenu(FTray->Menu());
    FMenuButton->setShortcut(QKeySequence(Qt::Key_F10));
    FMenuButton->setToolTip(u"Restore, Acknowledge, Properties, About, Help, Exit... (F10)"_s);
    FMenuButton->setAccessibleName(u"Talvo95 menu"_s);
    FPageControl->setCornerWidget(FMenuButton, Qt::TopRightCorner);
}

void TTalvoForm::ConnectAutostart()
{
    QAction* item = FTray->MenuAutostart;
    if (!Services.Autostart) {
        item->setVisible(false);
        return;
    }
    item->setChecked(Services.Autostart->IsEnabled());
    // The entry may have been changed outside the program meanwhile.
    connect(FTray->Menu(), &QMenu::aboutToShow, this,
        [this, item] { item->setChecked(Services.Autostart->IsEnabled()); });
    connect(item, &QAction::triggered, this, &TTalvoForm::MenuAutostartClick);
}

void TTalvoForm::MenuAutostartClick(bool checked)
{
    QString error;
    if (!Services.Autostart->SetEnabled(checked, error))
        Services.Dialogues.ShowError(error);
    FTray->MenuAutostart->setChecked(Services.Autostart->IsEnabled());
}

void TTalvoForm::ShowAtStart()
{
    if (FStartHidden && !FNoTray)
        StartInTray(TrayWaits);
    else
        show();
}

void TTalvoForm::StartInTray(int waitsLeft)
{
    // A second start may have shown the window meanwhile.
    if (isVisible() || Exited)
        return;
    if (FTray->CanHideToTray()) {
        // As if just hidden: a restore reloads only a diary changed meanwhile.
        DiaryFileAge = DiaryFileTime();
        FHiddenInTray = true;
        return;
    }
    // At the start of a session the panel with the tray may come a little later.
    if (waitsLeft == 0) {
        show();
        return;
    }
    QTimer::singleShot(TrayWaitInterval, this, [this, waitsLeft] { StartInTray(waitsLeft - 1); });
}
