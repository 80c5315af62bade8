#pragma once

#include "notes/NoteData.h"

#include <cstdint>
#include <functional>

class QAction;
class QTableView;
class QWidget;

// The notes tool bar's editing commands. The page makes them (disabled) and
// hands them to the editor, which connects, enables and toggles them.
struct TNotesEditorTools {
    QAction* NotesAsMemoButton = nullptr; // checkable, grouped with NotesAsGridButton
    QAction* NotesAsGridButton = nullptr; // checkable
    QAction* bCut = nullptr;
    QAction* bCopy = nullptr;
    QAction* bPaste = nullptr;
    QAction* ChangeCaseButton = nullptr;
    QAction* WordWrapButton = nullptr; // checkable
    QAction* bInsert = nullptr;
    QAction* bDelete = nullptr;
    QAction* SortButton = nullptr;
    // The user switched the shown category's view: the page sets its image in
    // the tree (0 text, 1 table) when a category is selected.
    std::function<void(uint8_t image)> SetCategoryImage;
};

// The right pane of the notes page: shows one category's record and stores
// what the user made of it back into the record. The page calls Show when a
// category is selected and Store when it is left, before a save and before the
// find window searches.
//
// The editor is a widget itself: Widget() returns it, and the page makes it a
// child of its splitter, so Qt owns it from then on.
class INotesEditor
{
public:
    virtual ~INotesEditor() = default;

    virtual QWidget* Widget() = 0;
    // Called once, before the first Show.
    virtual void AttachTools(const TNotesEditorTools& tools) = 0;

    // Shows the record in its view (text or table) with its column widths,
    // word wrap off, the caret at `caret` (a 0-based offset into the lines
    // joined with CR LF after every line) and the caret kept in view.
    virtual void Show(const TNoteData& data, int32_t caret) = 0;
    // Writes the page into the record: Lines, AsGrid (0 or 1) and ColWidths.
    // A cell being edited keeps its value. Word wrap goes off. Returns where
    // the find window continues: the 1-based position in the joined text of
    // the character after the caret (or of the start of the row after the
    // current table row).
    virtual int32_t Store(TNoteData& data) = 0;
    // Writes the record as Store does, but leaves the page exactly as the user
    // has it: word wrap, the caret and scroll, a cell being edited (whose
    // value the next store takes).
    virtual void StoreInPassing(TNoteData& data) = 0;
    // The page belongs to no category: the editor may go on showing what it
    // showed, but takes no input (it and its tool commands are disabled), so
    // nothing typed is thrown away by the next Show.
    virtual void Detach() = 0;
    // Ends a cell edit, keeping what was typed (before hiding to the tray).
    virtual void EndEditing() = 0;
    // Focuses the table in the table view, the memo in the text view.
    virtual void NotesFocus() = 0;

    // For the settings' font and the tests; null where the editor has none.
    virtual QWidget* Memo() = 0;
    virtual QTableView* Grid() = 0;
};
