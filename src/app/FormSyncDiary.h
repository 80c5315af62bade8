#pragma once

#include "sync/DiarySync.h"

class TTalvoForm;

// The session's diary as the sync sees it: what is being typed is taken
// first, and the page and its counts show what the sync changed.
class TFormSyncDiary final : public ISyncDiary
{
public:
    explicit TFormSyncDiary(TTalvoForm& form);
    TSyncWindow Window() const override { return Store.Window(); }
    std::vector<TSyncEvent> Events() override;
    void Apply(const TSyncPlan& plan) override;
    bool Save() override { return Store.Save(); }

private:
    TTalvoForm& Form;
    TStoreSyncDiary Store;
};
