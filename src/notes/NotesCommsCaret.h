#pragma once

#include "comms/CommsCommands.h"

class TNotesEditPane;

// The notes editor as the dial and e-mail commands read it: the memo's text
// and caret, or the table's current cell and the first column of its row.
class TNotesCommsCaret final : public INotesCaret
{
public:
    explicit TNotesCommsCaret(TNotesEditPane& pane)
        : Pane(pane)
    {
    }
    bool TableView() const override;
    QString CurrentCellText() const override;
    int CurrentColumn() const override;
    QString FirstColumnText() const override;
    QString MemoText() const override;
    int MemoCaret() const override;
    QString TakeWordAtCaret() override;

private:
    TNotesEditPane& Pane;
};
