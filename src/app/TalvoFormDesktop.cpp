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
    MenuButton = new QToolButton(PageControl);
    MenuButton->setObjectName(u"MenuButton"_s);
    MenuButton->setText(u"Menu"_s);
    MenuButton->setIcon(TProgramIcon::Icon());
    MenuButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    MenuButton->setAutoRaise(true);
    MenuButton->setPopupMode(QToolButton::InstantPopup);
    // The very menu of the tray: the same items, states and handlers.
    MenuButton->setMenu(FTray->Menu());
    MenuButton->setShortcut(QKeySequence(Qt::Key_F10));
    MenuButton->setToolTip(u"Restore, Acknowledge, Properties, About, Help, Exit... (F10)"_s);
    MenuButton->setAccessibleName(u"Talvo95 menu"_s);
    PageControl->setCornerWidget(MenuButton, Qt::TopRightCorner);
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
    if (StartHidden && !FNoTray)
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
        DiaryFileAge = Session.DiaryFileTime();
        FHiddenInTray = true;
        return;
    }
    // At the start of a session the panel with the tray may come a little later.
    if (waitsLeft == 0) {
        if (RunsInBackground()) {
            DiaryFileAge = Session.DiaryFileTime();
            FHiddenInTray = true;
        } else {
            show();
        }
        return;
    }
    QTimer::singleShot(TrayWaitInterval, this, [this, waitsLeft] { StartInTray(waitsLeft - 1); });
}
