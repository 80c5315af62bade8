#include "diary/DiaryUndo.h"

#include "platform/AnsiText.h"

using namespace Qt::StringLiterals;

namespace
{

constexpr int DiaryStepId = 0x7D1A;

} // namespace

TDiaryStep::TDiaryStep(TDiaryEdit edit, int mergeKey, TReplay replay)
    : QUndoCommand(FromCore(edit.Name()))
    , FEdit(std::move(edit))
    , MergeKey(mergeKey)
    , Replay(std::move(replay))
{
}

void TDiaryStep::undo()
{
    Replay(FEdit, true);
}

void TDiaryStep::redo()
{
    // Pushed after the edit was made: the store holds it already.
    if (!std::exchange(Pushed, true))
        return;
    Replay(FEdit, false);
}

int TDiaryStep::id() const
{
    return MergeKey ? DiaryStepId : -1;
}

bool TDiaryStep::mergeWith(const QUndoCommand* other)
{
    const auto* later = dynamic_cast<const TDiaryStep*>(other);
    if (!later || later->MergeKey != MergeKey)
        return false;
    FEdit.Merge(later->FEdit);
    setObsolete(FEdit.Empty());
    return true;
}

TPurgeMark::TPurgeMark()
    : QUndoCommand(u"Purge"_s)
{
}
