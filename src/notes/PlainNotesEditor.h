#pragma once

#include "notes/NotesEditor.h"

#include <QPlainTextEdit>

// The simplest right pane: the category's lines as plain text, always in the
// text view. It keeps AsGrid and ColWidths as it found them, so a table
// category comes back as a table once a table view exists.
class TPlainNotesEditor final : public QPlainTextEdit, public INotesEditor
{
    Q_OBJECT
public:
    explicit TPlainNotesEditor(QWidget* parent = nullptr);

    QWidget* Widget() override { return this; }
    void AttachTools(const TNotesEditorTools& tools) override;
    void Show(const TNoteData& data, int32_t caret) override;
    int32_t Store(TNoteData& data) override;
    void EndEditing() override { }
    void NotesFocus() override { setFocus(); }
    QWidget* Memo() override { return this; }
    QTableView* Grid() override { return nullptr; }

private:
    TNotesEditorTools Tools;
    uint8_t AsGrid = 0;
    decltype(TNoteData::ColWidths) ColWidths {};
};
