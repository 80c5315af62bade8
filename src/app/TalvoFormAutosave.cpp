// Saving as the user goes: what tells the session that a file changed, and
// the autosave that follows.

#include "app/Autosaver.h"
#include "app/SyncController.h"
#include "app/TalvoForm.h"
#include "notes/NotesEditor.h"
#include "notes/NotesPage.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableView>
#include <QTextDocument>
#include <QTreeView>

void TTalvoForm::ConnectAutosave()
{
    FAutosaver = new TAutosaver(
        Session,
        [this](const QString& text) {
            if (text.isEmpty())
                statusBar()->clearMessage();
            else
                statusBar()->showMessage(text);
        },
        this);
    connect(FAutosaver, &TAutosaver::Saved, this, [this] {
        // Hidden, the diary's file is this program's own still: showing the
        // window again need not read it back.
        if (FHiddenInTray)
            DiaryFileAge = Session.DiaryFileTime();
        ShowFormNotice();
        // What was saved reaches the calendar server soon, as after any save.
        if (FSync)
            FSync->Saved();
    });
    Session.SetChangeListener([this](TDataKind) { FAutosaver->Changed(); });
    // Every edit of the diary is a step of its history, and so are undo and
    // redo; the notes table's likewise.
    connect(&History.Diary, &QUndoStack::indexChanged, this, [this] { Session.Changed(dkDiary); });
    connect(
        &History.NotesTable, &QUndoStack::indexChanged, this, [this] { Session.Changed(dkNotes); });
}

void TTalvoForm::WatchNotesChanges()
{
    const auto changed = [this] { Session.Changed(dkNotes); };
    // The categories: added, deleted, renamed, moved, sorted, shown another way.
    QAbstractItemModel* tree = FNotesPage->TreeView()->model();
    connect(tree, &QAbstractItemModel::rowsInserted, this, changed);
    connect(tree, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(tree, &QAbstractItemModel::rowsMoved, this, changed);
    connect(tree, &QAbstractItemModel::layoutChanged, this, changed);
    connect(tree, &QAbstractItemModel::dataChanged, this, changed);
    // Typing in the memo, and its own undo; showing a category is no change.
    if (auto* memo = qobject_cast<QPlainTextEdit*>(FNotesPage->Editor().Memo())) {
        QTextDocument* text = memo->document();
        connect(text, &QTextDocument::contentsChanged, this, [this, text] {
            if (text->isModified())
                Session.Changed(dkNotes);
        });
    }
    // A column's width dragged by the user; showing a table sets them too.
    if (QTableView* grid = FNotesPage->Editor().Grid())
        connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
            if (QGuiApplication::mouseButtons() != Qt::NoButton)
                Session.Changed(dkNotes);
        });
}
