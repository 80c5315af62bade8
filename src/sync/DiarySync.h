#pragma once

#include "sync/Reconcile.h"

#include <vector>

class TDiaryStore;

// The diary store's side of a sync.

// The window the store's today gives.
TSyncWindow DiaryWindowOf(const TDiaryStore& store);

// The diary's events as sync sees them, after committing the selected day;
// `where` gets each event's node, in the same order. Events on dates that do
// not exist (30 February) stay out.
std::vector<TSyncEvent> CollectDiaryEvents(TDiaryStore& store, std::vector<TDiaryEvent*>& where);

// The event as the diary will hold it: its text in the diary's characters.
void ToDiaryForm(TSyncEvent& event);

// Carries out the plan's steps on the diary: the events it replaces or deletes
// (named by their place in `where`, which must still be valid) go, its new
// events join their days, and every day touched is sorted again.
void ApplyToDiary(
    TDiaryStore& store, const std::vector<TDiaryEvent*>& where, const TSyncPlan& plan);
