#include "sync/Reconcile.h"
#include "sync/SyncTestSupport.h"

#include <gtest/gtest.h>

namespace
{

// Today in December 2026: the window runs from November 2026 to October 2027.
const TSyncWindow Window { 2026, 12 };

const TSyncEvent Dentist = Ev("2026-12-09", 930, "Dentist", etAlarm);
const TSyncEvent Zahnarzt = Ev("2027-01-15", 1400, "  Zahnarzt Ärger ", etBlank);
const TSyncEvent Tokyo = Ev("2027-03-01", 0, "東京 trip", etTicked);

TSyncEntry Entry(const std::string& name, const std::string& etag, const TSyncEvent& event)
{
    return { name, "/cal/" + name + ".ics", etag, { FingerprintOf(event) } };
}

TRemoteItem Item(const std::string& name, const std::string& etag,
    std::vector<TSyncEvent> occurrences, bool fetched = true)
{
    TRemoteItem item { "/cal/" + name + ".ics", etag, fetched, false, name, {} };
    item.Occurrences = std::move(occurrences);
    return item;
}

std::string Describe(const TSyncAction& a)
{
    static const char* kinds[]
        = { "upload", "download", "delete local", "delete remote", "conflict" };
    std::string text = kinds[a.Kind];
    for (const size_t i : a.Locals)
        text += " #" + std::to_string(i);
    for (const TSyncEvent& e : a.Events)
        text += " '" + e.Description + "'";
    if (a.Kind == TSyncAction::akUpload || a.Kind == TSyncAction::akDeleteRemote)
        text += " " + a.Entry.Href + (a.IfMatch.empty() ? " new" : " if " + a.IfMatch);
    return text;
}

struct TCase {
    const char* Name;
    std::vector<TSyncEvent> Local;
    std::vector<TSyncEntry> Known;
    TListing Listing;
    std::vector<std::string> Expected;
    size_t Conflicts = 0;
};

TSyncPlan Plan(const TCase& c, const TSyncWindow& window = Window)
{
    int next = 0;
    const TSyncState state { "/cal/", "token-1", window, c.Known };
    return Reconcile(
        c.Local, state, c.Listing, window, [&] { return "n" + std::to_string(++next); });
}

TEST(Reconcile, EachSideOfEachChangeGivesItsSteps)
{
    TSyncEvent movedDentist = Dentist;
    movedDentist.Time = 1030;
    TSyncEvent renamed = Zahnarzt;
    renamed.Description = "Zahnarzt: Kontrolle";
    TSyncEvent onPhone = Dentist;
    onPhone.Description = "Dentist (Dr. Ñúñez)";
    const std::vector<TCase> cases {
        { "unchanged", { Dentist }, { Entry("a", "e1", Dentist) },
            { false, { Item("a", "e1", {}, false) }, {}, "t2" }, {} },
        { "time changed here", { movedDentist }, { Entry("a", "e1", Dentist) },
            { false, { Item("a", "e1", {}, false) }, {}, "t2" },
            { "upload #0 'Dentist' /cal/a.ics if e1" } },
        { "text changed here", { renamed }, { Entry("b", "e1", Zahnarzt) },
            { false, { Item("b", "e1", {}, false) }, {}, "t2" },
            { "upload #0 'Zahnarzt: Kontrolle' /cal/b.ics if e1" } },
        { "deleted here", {}, { Entry("a", "e1", Dentist) },
            { false, { Item("a", "e1", {}, false) }, {}, "t2" },
            { "delete remote /cal/a.ics if e1" } },
        { "changed there", { Dentist }, { Entry("a", "e1", Dentist) },
            { false, { Item("a", "e2", { onPhone }) }, {}, "t2" },
            { "download #0 'Dentist (Dr. Ñúñez)'" } },
        { "deleted there", { Dentist, Tokyo },
            { Entry("a", "e1", Dentist), Entry("c", "e1", Tokyo) },
            { false, { Item("c", "e1", {}, false) }, {}, "t2" }, { "delete local #0" } },
        { "changed on both sides", { renamed }, { Entry("b", "e1", Zahnarzt) },
            { false, { Item("b", "e2", { Ev("2027-01-15", 1500, "Zahnarzt") }) }, {}, "t2" },
            { "download #0 'Zahnarzt'", "conflict 'Zahnarzt: Kontrolle (conflict)'" }, 1 },
        { "the same change on both sides", { renamed }, { Entry("b", "e1", Zahnarzt) },
            { false, { Item("b", "e2", { renamed }) }, {}, "t2" }, {} },
        { "changed here, deleted there", { movedDentist }, { Entry("a", "e1", Dentist) },
            { false, { Item("z", "e1", { Tokyo }) }, {}, "t2" },
            { "upload #0 'Dentist' /cal/a.ics new", "download '東京 trip'" } },
        { "deleted here, changed there", {}, { Entry("a", "e1", Dentist) },
            { false, { Item("a", "e2", { onPhone }) }, {}, "t2" },
            { "download 'Dentist (Dr. Ñúñez)'" } },
        { "new here", { Tokyo }, {}, { false, {}, {}, "t2" },
            { "upload #0 '東京 trip' /cal/n1.ics new" } },
        { "a delta names what went", { Dentist, Tokyo },
            { Entry("a", "e1", Dentist), Entry("c", "e1", Tokyo) },
            { true, {}, { "/cal/c.ics", "/cal/unknown.ics" }, "t2" }, { "delete local #1" } },
        { "a delta leaves out what stayed", { Dentist }, { Entry("a", "e1", Dentist) },
            { true, { Item("n", "e1", { Tokyo }) }, {}, "t2" }, { "download '東京 trip'" } },
        { "a resource that could not be read deletes nothing", { Dentist },
            { Entry("a", "e1", Dentist) },
            { false, { { "/cal/a.ics", "e9", true, true, "", {} } }, {}, "t2" }, {} },
    };
    for (const TCase& c : cases) {
        const TSyncPlan plan = Plan(c);
        std::vector<std::string> steps;
        for (const TSyncAction& a : plan.Actions)
            steps.push_back(Describe(a));
        EXPECT_EQ(steps, c.Expected) << c.Name;
        EXPECT_EQ(plan.Conflicts, c.Conflicts) << c.Name;
    }
}

TEST(Reconcile, WithoutStateEventsMatchByDateTimeAndText)
{
    // A lost state file: the same events on both sides are linked, not copied.
    TSyncEvent doneThere = Dentist;
    doneThere.Type = etTicked;
    const TCase c { "lost state", { Dentist, Zahnarzt, Tokyo }, {},
        { false,
            { Item("a", "e1", { doneThere }), Item("b", "e1", { Zahnarzt }),
                Item("x", "e1", { Ev("2027-02-02", 800, "Elő-meeting") }) },
            {}, "t2" },
        {} };
    const TSyncPlan plan = Plan(c);
    std::vector<std::string> steps;
    for (const TSyncAction& a : plan.Actions)
        steps.push_back(Describe(a));
    // The diary's type wins where only the type differs.
    EXPECT_EQ(steps,
        (std::vector<std::string> { "upload #0 'Dentist' /cal/a.ics if e1",
            "download 'Elő-meeting'", "upload #2 '東京 trip' /cal/n1.ics new" }));
    EXPECT_EQ(plan.State.Entries.size(), 2u); // b and x; a and n1 join once sent
}

TEST(Reconcile, AnEmptyListingDeletesNothing)
{
    const TCase c { "empty", { Dentist }, { Entry("a", "e1", Dentist) }, { false, {}, {}, "" },
        {} };
    const TSyncPlan plan = Plan(c);
    EXPECT_TRUE(plan.EmptyListingIgnored);
    EXPECT_TRUE(plan.Actions.empty());
    EXPECT_EQ(plan.State.Entries.size(), 1u);
    EXPECT_EQ(plan.State.Token, "token-1");
}

TEST(Reconcile, OnlyTheWindowTakesPart)
{
    // An event beyond the window is neither fetched into the diary nor
    // deleted; an event whose month left the window (purged) is not deleted
    // on the server; a yearly event keeps its entry in the next year.
    TSyncEvent birthday = Ev("2026-01-20", 0, "Birthday Zoë", etAlarm, 1);
    TSyncEvent thisYear = birthday;
    thisYear.Date.Year = 2027;
    const TCase c { "window", { thisYear },
        { Entry("old", "e1", Ev("2026-10-03", 900, "Gone")), Entry("bd", "e1", birthday) },
        { false,
            { Item("old", "e1", {}, false), Item("bd", "e1", {}, false), Item("far", "e1", {}) },
            {}, "t2" },
        {} };
    const TSyncPlan plan = Plan(c);
    EXPECT_TRUE(plan.Actions.empty());
    ASSERT_EQ(plan.State.Entries.size(), 3u);
    EXPECT_EQ(plan.State.Entries[1].Copies.front().Date.Year, 2027);
    EXPECT_TRUE(plan.State.Entries[2].Copies.empty());
    // Once the window moves, a resource that had nothing in it is read again.
    TSyncState state = plan.State;
    EXPECT_EQ(HrefsToFetch(state, c.Listing, Window), std::vector<std::string> {});
    EXPECT_EQ(
        HrefsToFetch(state, c.Listing, { 2027, 1 }), std::vector<std::string> { "/cal/far.ics" });
}

TEST(Reconcile, FetchesWhatIsNewOrChanged)
{
    const TSyncState state { "/cal/", "", Window,
        { Entry("a", "e1", Dentist), Entry("b", "e1", Tokyo) } };
    const TListing listing { false,
        { Item("a", "e1", {}, false), Item("b", "e2", {}, false), Item("c", "e1", {}, false) }, {},
        "" };
    EXPECT_EQ(HrefsToFetch(state, listing, Window),
        (std::vector<std::string> { "/cal/b.ics", "/cal/c.ics" }));
}

TEST(Reconcile, WhatCouldNotBeFetchedKeepsTheTokenBack)
{
    const TCase c { "unfetched", { Dentist }, { Entry("a", "e1", Dentist) },
        { false, { Item("a", "e2", {}, false), Item("n", "e1", {}, false) }, {}, "t2" }, {} };
    const TSyncPlan plan = Plan(c);
    EXPECT_TRUE(plan.Actions.empty());
    EXPECT_EQ(plan.State.Entries, std::vector<TSyncEntry> { Entry("a", "e1", Dentist) });
    EXPECT_EQ(plan.State.Token, "token-1");
}

TEST(Reconcile, ARepeatingEventFollowsTheServer)
{
    const TSyncEvent mon = Ev("2026-12-07", 900, "Stand-up");
    const TSyncEvent tue = Ev("2026-12-14", 900, "Stand-up");
    TSyncEntry weekly { "w", "/cal/w.ics", "e1", { FingerprintOf(mon), FingerprintOf(tue) } };
    const TCase deleted { "one gone here", { tue }, { weekly },
        { false, { Item("w", "e1", {}, false) }, {}, "t2" }, {} };
    EXPECT_TRUE(Plan(deleted).Actions.empty());
    const TCase moved { "moved there", { mon, tue }, { weekly },
        { false, { Item("w", "e2", { Ev("2026-12-08", 900, "Stand-up") }) }, {}, "t2" }, {} };
    const TSyncPlan plan = Plan(moved);
    ASSERT_EQ(plan.Actions.size(), 1u);
    EXPECT_EQ(Describe(plan.Actions[0]), "download #0 #1 'Stand-up'");
}

TEST(Reconcile, FinishedStepsShapeTheNextState)
{
    TSyncEvent moved = Dentist;
    moved.Time = 1000;
    const TCase c { "two uploads", { moved, Tokyo }, { Entry("a", "e1", Dentist) },
        { false, { Item("a", "e1", {}, false) }, {}, "t2" }, {} };
    TSyncPlan done = Plan(c);
    ASSERT_EQ(done.Actions.size(), 2u);
    done.Finished(0, true, "e5");
    done.Finished(1, true, "e6");
    EXPECT_EQ(done.State.Token, "t2");
    EXPECT_EQ(done.State.Entries,
        (std::vector<TSyncEntry> {
            Entry("a", "e5", moved), { "n1", "/cal/n1.ics", "e6", { FingerprintOf(Tokyo) } } }));

    TSyncPlan refused = Plan(c);
    refused.Finished(0, false);
    refused.Finished(1, false);
    // The old entry stays, so the edit is sent again; the new event has none.
    EXPECT_EQ(refused.State.Entries, std::vector<TSyncEntry> { Entry("a", "e1", Dentist) });
    EXPECT_EQ(refused.State.Token, "token-1");
}

} // namespace
