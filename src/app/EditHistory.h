#pragma once

#include <QUndoStack>

// The data's undo histories, kept beside the data and not in the pages: the
// diary's steps and the notes table's. A load of the files starts them afresh.
struct TEditHistory {
    QUndoStack Diary;
    QUndoStack NotesTable;

    void Clear()
    {
        Diary.clear();
        NotesTable.clear();
    }
};
