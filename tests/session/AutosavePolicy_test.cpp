#include "session/AutosavePolicy.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace
{

// What happens at a time (ms): a change, a save that ends with or without
// changes left, or a failure; then when the next save is due.
struct TStep {
    int64_t At;
    enum { Change, SavedAll, SavedSome, Failure, Clear } What;
    std::optional<int64_t> Due;
};

TEST(AutosavePolicy, SavesAPauseAfterTheLastChangeAndAtLeastOnceAMinute)
{
    const std::vector<std::vector<TStep>> runs {
        // One change: two seconds later; nothing after the save.
        { { 0, TStep::Change, 2'000 }, { 2'000, TStep::SavedAll, std::nullopt } },
        // Typing on: each key puts it off, but never past a minute after the first.
        { { 100, TStep::Change, 2'100 }, { 1'900, TStep::Change, 3'900 },
            { 59'000, TStep::Change, 60'100 }, { 60'100, TStep::SavedSome, 61'000 } },
        // A failure waits half a minute, whatever is typed meanwhile; a success ends it.
        { { 0, TStep::Change, 2'000 }, { 2'000, TStep::Failure, 32'000 },
            { 3'000, TStep::Change, 32'000 }, { 32'000, TStep::SavedAll, std::nullopt },
            { 40'000, TStep::Change, 42'000 } },
        // Hiding saved everything.
        { { -5, TStep::Change, 1'995 }, { 0, TStep::Clear, std::nullopt } },
    };
    for (const std::vector<TStep>& run : runs) {
        TAutosavePolicy policy;
        for (const TStep& step : run) {
            switch (step.What) {
            case TStep::Change:
                policy.Changed(step.At);
                break;
            case TStep::SavedAll:
            case TStep::SavedSome:
                policy.Saved(step.At - 1'000, step.What == TStep::SavedSome);
                break;
            case TStep::Failure:
                policy.Failed(step.At);
                break;
            case TStep::Clear:
                policy.Clear();
                break;
            }
            EXPECT_EQ(policy.DueAt(), step.Due) << "at " << step.At;
            EXPECT_EQ(policy.Due(step.At), step.Due && *step.Due <= step.At);
        }
    }
}

} // namespace
