#include "app/FormSyncDiary.h"
#include "app/SyncController.h"
#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "app/TrayController.h"
#include "diary/CalendarPage.h"
#include "platform/Keyring.h"
#include "settings/PropertiesForm.h"

#include <QLabel>
#include <QStatusBar>

using namespace Qt::StringLiterals;

// The diary's sync with a calendar server, as the window takes part in it: the
// diary it changes is the session's, shown on the page as soon as it changes
// and saved as any change is; "Sync now" in the menus; how it went in the
// status bar.

namespace
{

constexpr auto SyncAtStart = std::chrono::seconds(2);
constexpr int SyncMessageTime = 30'000;
constexpr const char* SyncStateFile = "SYNC.DAT";

} // namespace

TFormSyncDiary::TFormSyncDiary(TTalvoForm& form)
    : Form(form)
    , Store(form.Session.Diary(), [&form] { return form.SaveAfterSync(); })
{
}

std::vector<TSyncEvent> TFormSyncDiary::Events()
{
    // What is being typed counts as typed.
    if (Form.FCalendarPage)
        Form.FCalendarPage->EndEditing();
    return Store.Events();
}

void TFormSyncDiary::Apply(const TSyncPlan& plan)
{
    Store.Apply(plan);
    Form.SyncChangedDiary();
}

void TTalvoForm::CreateSync()
{
    IKeyring* keyring = Services.Keyring;
    if (!keyring) {
        DesktopKeyring = std::make_unique<TDesktopKeyring>();
        keyring = DesktopKeyring.get();
    }
    SyncDiary = std::make_unique<TFormSyncDiary>(*this);
    FSync = new TSyncController(
        FOptions, FSettings, *keyring, Services.Dialogues, Services.Clock, *SyncDiary,
        Services.DataFolder / SyncStateFile, [this] { return SyncReady(); }, this);
    SyncPanel = new QLabel(statusBar());
    SyncPanel->setObjectName(u"SyncPanel"_s);
    SyncPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SyncPanel->setIndent(2);
    SyncPanel->hide();
    statusBar()->addPermanentWidget(SyncPanel);
    connect(FSync, &TSyncController::StatusChanged, this, &TTalvoForm::ShowSyncStatus);
    connect(FTray->MenuSyncNow, &QAction::triggered, this, &TTalvoForm::SyncNowClick);
    FSync->Begin(SyncAtStart);
}

void TTalvoForm::SyncNowClick()
{
    FSync->SyncNow();
}

bool TTalvoForm::SyncReady()
{
    if (Exited || !Session.Loaded())
        return false;
    // Hidden, the diary file may have been replaced: the sync starts from
    // what it holds, as the window shown again would.
    if (FHiddenInTray && Session.DiaryFileTime() != DiaryFileAge) {
        FreeAllData();
        LoadAllData();
        ShowLoadNotice();
        DiaryFileAge = Session.DiaryFileTime();
    }
    return Session.Loaded();
}

bool TTalvoForm::SaveAfterSync()
{
    const bool saved = Session.Save().empty();
    // Its own save is no change from outside.
    if (saved && FHiddenInTray)
        DiaryFileAge = Session.DiaryFileTime();
    ShowFormNotice();
    return saved;
}

void TTalvoForm::SyncChangedDiary()
{
    Session.Changed(dkDiary);
    // Undo stops here: its steps were made on the days as they were.
    if (FCalendarPage)
        FCalendarPage->MarkPurge();
    Session.Diary().CountOverdue();
    ShowOverdueCount();
}

void TTalvoForm::ShowSyncStatus(const QString& brief, const QString& message)
{
    // An earlier sync's message still shown ("Sync failed: ...") goes with
    // the news of a later one.
    if (!SyncPanel->toolTip().isEmpty() && statusBar()->currentMessage() == SyncPanel->toolTip())
        statusBar()->clearMessage();
    SyncPanel->setText(brief);
    SyncPanel->setToolTip(message.isEmpty() ? brief : message);
    SyncPanel->show();
    if (!message.isEmpty())
        statusBar()->showMessage(message, SyncMessageTime);
}
