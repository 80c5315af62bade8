#pragma once

#include "sync/Reconcile.h"

#include <functional>
#include <vector>

class TDiaryStore;

// The diary as a sync sees it; tests give one of their own.
class ISyncDiary
{
public:
    virtual ~ISyncDiary() = default;
    virtual TSyncWindow Window() const = 0;
    // The events now; Apply names them by their place in the last such list.
    virtual std::vector<TSyncEvent> Events() = 0;
    // Takes the plan's steps on the diary (Download, DeleteLocal, ConflictCopy).
    virtual void Apply(const TSyncPlan& plan) = 0;
    // Writes the diary to its file: the sync's record is kept only once the
    // diary it describes is. False when the save failed.
    virtual bool Save() = 0;
};

// The diary store behind a sync; `save` writes the diary's file.
class TStoreSyncDiary final : public ISyncDiary
{
public:
    TStoreSyncDiary(TDiaryStore& store, std::function<bool()> save)
        : Store(store)
        , SaveDiary(std::move(save))
    {
    }
    TSyncWindow Window() const override;
    std::vector<TSyncEvent> Events() override;
    void Apply(const TSyncPlan& plan) override;
    bool Save() override { return SaveDiary(); }

private:
    TDiaryStore& Store;
    std::function<bool()> SaveDiary;
    std::vector<TDiaryEvent*> Where;
};

// The diary store's side of a sync.

// The window the store's today gives.
TSyncWindow DiaryWindowOf(const TDiaryStore& store);

// The diary's events as sync sees them, after committing the selected day;
// `where` gets each event's node, in the same order. Events on dates that do
// not exist (30 February) stay out.
std::vector<TSyncEvent> CollectDiaryEvents(TDiaryStore& store, std::vector<TDiaryEvent*>& where);

// Carries out the plan's steps on the diary: the events it replaces or deletes
// (named by their place in `where`, which must still be valid) go, its new
// events join their days, and every day touched is sorted again.
void ApplyToDiary(
    TDiaryStore& store, const std::vector<TDiaryEvent*>& where, const TSyncPlan& plan);
