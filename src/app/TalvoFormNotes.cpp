#include "app/PageSlot.h"
#include "app/TalvoForm.h"
#include "app/TalvoServices.h"
#include "controls/Dialogues.h"
#include "notes/NotesPage.h"
#include "settings/ApplySettings.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

// The notes page is built when it is first shown or first needed (the find
// window searching the notes, a key that dials or mails); the notes themselves
// live in the notes document from the start-up load to the exit.

TNotesPage* TTalvoForm::NotesPage()
{
    Pages[NotesTreePageIndex]->Page();
    return FNotesPage;
}

TCommsCommands* TTalvoForm::Comms()
{
    NotesPage();
    return FComms;
}

void TTalvoForm::AwaitNotes()
{
    NotesPoll->stop();
    if (!Session.NotesPending())
        return;
    const bool wait = !Session.NotesReady();
    if (wait)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    Session.FinishNotes();
    if (wait)
        QApplication::restoreOverrideCursor();
    // A notes file read only in part is told as the diary's is, after what
    // the user asked for is shown.
    QTimer::singleShot(0, this, &TTalvoForm::ShowLoadNotice);
}

void TTalvoForm::ConnectNotesPage()
{
    // The find button works once the find window is there to answer it.
    FNotesPage->bFind->setEnabled(true);
    connect(FNotesPage, &TNotesPage::FindRequested, this,
        [this] { RunGuarded(Services.Dialogues, [this] { FindButtonClick(); }); });
    // Built after start-up: the page takes the options as they are now.
    TApplyTargets targets;
    targets.Colours = Colours;
    targets.NotesTree = FNotesPage->TreeView();
    targets.NotesMemo = FNotesPage->Editor().Memo();
    targets.NotesGrid = FNotesPage->Editor().Grid();
    ::ApplySettings(FOptions, targets);
    // Until the user sets the tree's width, it shows the names whole, in the
    // font just applied, within half the window.
    const int fitted = std::min(FNotesPage->NamesWidth(), width() / 2);
    FNotesPage->SetSplit(WinSplit > 0 ? WinSplit : std::max(DesignedSplit, fitted));
}
