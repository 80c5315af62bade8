#pragma once

#include "diary/DiaryEdit.h"

#include <QUndoCommand>
#include <functional>

// A diary step on the undo stack. It is pushed once made, so its first redo
// does nothing; later ones apply it again. `replay` brings the page to the
// step's day and reverts (true) or applies (false) it there.
class TDiaryStep final : public QUndoCommand
{
public:
    using TReplay = std::function<void(const TDiaryEdit& edit, bool revert)>;

    // Steps with the same non-zero `mergeKey` that follow each other become
    // one: the keys typed into one cell.
    TDiaryStep(TDiaryEdit edit, int mergeKey, TReplay replay);

    const TDiaryEdit& Edit() const { return FEdit; }

    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    TDiaryEdit FEdit;
    int MergeKey;
    TReplay Replay;
    bool Pushed = false;
};

// Where the diary's history stops: old events moved to the purge log cannot
// come back, so no step before it can be undone.
class TPurgeMark final : public QUndoCommand
{
public:
    TPurgeMark();
    void undo() override { }
    void redo() override { }
};
