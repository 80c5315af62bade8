#include "base/TextFile.h"
#include "diary/DiaryFile.h"
#include "notes/NotesFile.h"
#include "session/DataSession.h"
#include "session/RecoveryFolder.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

const TDateTime Noon = EncodeDate(2026, 12, 9) + EncodeTime(12, 0);

// Stores a line typed into the page into the selected (root) category, as the
// notes page does when asked.
class TTypingView final : public INotesView
{
public:
    explicit TTypingView(TNotesDocument& document)
        : Document(document)
    {
    }
    void StoreSelected() override
    {
        if (!Typed.empty())
            NoteDataOf(*Document.Tree().Root()).Lines = { Typed };
    }
    void StoreSelectedInPassing() override { StoreSelected(); }
    void TreeReplacing() override { ++Replacings; }
    void TreeReplaced() override { ++Replaceds; }

    TNotesDocument& Document;
    std::string Typed;
    int Replacings = 0;
    int Replaceds = 0;
};

class DataSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "talvo-session-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Folder = pattern;
        Clock.Set(Noon);
    }
    void TearDown() override
    {
        fs::permissions(Folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(Folder);
    }
    static void Write(const fs::path& path, const std::string& content)
    {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Read(const fs::path& path)
    {
        std::string content;
        ReadWholeFile(path, content);
        return content;
    }
    static std::string Diary(const std::string& firstSlot)
    {
        std::string text = firstSlot;
        for (int slot = 0; slot < DiaryDayCount; ++slot)
            text += "\xFF\r\n";
        return text;
    }
    // Puts an event ahead of slot 0's list, as the page does on a committed day.
    static void AddEvent(TDataSession& session, const std::string& description)
    {
        TEventLink event = NewEvent();
        event->Description = description;
        event->Next = std::move(session.Diary().DiaryDays[0]);
        session.Diary().DiaryDays[0] = std::move(event);
        session.Changed(dkDiary);
    }
    fs::path DiaryPath() const { return Folder / DiaryFileName; }
    fs::path NotesPath() const { return Folder / NotesFileName; }

    TFixedClock Clock;
    fs::path Folder;
};

TEST_F(DataSession, LoadsBothFilesAndRemovesOnlyItsOwnStaleTemporaries)
{
    Write(DiaryPath(), Diary("010930Dentist \xE9t\xE9\r\n"));
    Write(NotesPath(),
        "\xFF"
        "10" + std::string(40, '0')
            + "Root\r\n  -5 \xC4pfel\r\n");
    Write(Folder / "DIARY.DAT.tmp", std::string(1000, 'x'));
    Write(Folder / "NOTES.DAT.tmp", "half");
    Write(Folder / "NOTES.DAT.rewrite.tmp", "half a copy");
    Write(Folder / "OTHER.tmp", "not ours");
    fs::create_directory(Folder / "NOTES.DAT.tmp.d");
    TDataSession session(Clock, Folder);
    TTypingView view(session.Notes());
    session.Notes().SetView(&view);
    EXPECT_FALSE(session.Loaded());
    EXPECT_TRUE(session.Load());
    EXPECT_TRUE(session.Loaded());
    EXPECT_EQ(session.Diary().DiaryDays[0]->Description, "Dentist été");
    EXPECT_EQ(session.Diary().DiaryDays[0]->Time, 930);
    EXPECT_EQ(
        session.Notes().Tree().Root()->Data->Lines, std::vector<std::string> { "  -5 Äpfel" });
    EXPECT_EQ(view.Replacings, 1);
    EXPECT_EQ(view.Replaceds, 1);
    EXPECT_FALSE(fs::exists(Folder / "DIARY.DAT.tmp"));
    EXPECT_FALSE(fs::exists(Folder / "NOTES.DAT.tmp"));
    EXPECT_FALSE(fs::exists(Folder / "NOTES.DAT.rewrite.tmp"));
    EXPECT_TRUE(fs::exists(Folder / "OTHER.tmp"));
    EXPECT_TRUE(fs::exists(Folder / "NOTES.DAT.tmp.d"));
    // Nothing changed: nothing is written, whichever way the save is asked.
    const auto stamp = fs::last_write_time(DiaryPath());
    EXPECT_TRUE(session.Save().empty());
    EXPECT_TRUE(session.Save(TSaveMode::Closing).empty());
    EXPECT_EQ(fs::last_write_time(DiaryPath()), stamp);
    EXPECT_EQ(Read(NotesPath()),
        "\xFF"
        "10" + std::string(40, '0')
            + "Root\r\n  -5 \xC4pfel\r\n");
}

// The window comes up while the notes are read on a worker thread; a save
// before they arrive waits for them, so it never writes them half read.
TEST_F(DataSession, NotesReadOnAWorkerArriveWholeAndAreNeverSavedHalfRead)
{
    std::string notes = "\xFF"
                        "10"
        + std::string(40, '0') + "Root \xE9\r\n";
    for (int i = 0; i < 100'000; ++i)
        notes += "line " + std::to_string(-i) + " \xC4\t x\r\n";
    Write(NotesPath(), notes);
    Write(DiaryPath(), Diary(""));
    enum { SavedAtOnce, SavedInPassing, Taken, Dropped };
    for (const int how : { SavedAtOnce, SavedInPassing, Taken, Dropped }) {
        auto session = std::make_unique<TDataSession>(Clock, Folder);
        session->StartLoad();
        EXPECT_TRUE(session->Loaded());
        if (how == SavedAtOnce) {
            EXPECT_TRUE(session->Save(TSaveMode::Closing).empty());
            session->Free();
        } else if (how == SavedInPassing) {
            // An autosave does not wait for notes nobody can have changed yet.
            EXPECT_TRUE(session->Save(TSaveMode::InPassing).empty());
        } else if (how == Taken) {
            session->FinishNotes();
            EXPECT_FALSE(session->NotesPending());
            const TNoteLines& lines = session->Notes().Tree().Root()->Data->Lines;
            EXPECT_EQ(lines.size(), 100'000u);
            EXPECT_EQ(lines[1], "line -1 Ä\t x");
            EXPECT_EQ(session->Notes().Tree().Root()->Name, "Root é");
            EXPECT_TRUE(session->Save(TSaveMode::Closing).empty());
        }
        session.reset();
        EXPECT_EQ(Read(NotesPath()), notes) << how;
    }
}

TEST_F(DataSession, SavesOnlyWhatChangedSinceTheLastSave)
{
    TDataSession session(Clock, Folder);
    TTypingView view(session.Notes());
    session.Notes().SetView(&view);
    session.Load();
    // A first start writes both files.
    EXPECT_TRUE(session.Save().empty());
    EXPECT_EQ(Read(DiaryPath()), Diary(""));
    ASSERT_TRUE(fs::exists(NotesPath()));
    const struct {
        const char* Event; // added to the diary, or nothing
        const char* Typed; // typed into the notes page, or nothing
        bool DiaryWritten;
        bool NotesWritten;
    } steps[] = {
        { nullptr, nullptr, false, false },
        { "Zoo at 5 ü", nullptr, true, false },
        { nullptr, "abcdefghijklmnopqrstuvwxyz", false, true },
        { "-1 ABCDEFGHIJKLMNOPQRSTUVWXYZ", "  spaced  ", true, true },
        { nullptr, "  spaced  ", false, false },
    };
    for (const auto& step : steps) {
        // A file changed behind the session's back is not looked at by a save
        // of changes only.
        fs::last_write_time(DiaryPath(), fs::file_time_type {});
        fs::last_write_time(NotesPath(), fs::file_time_type {});
        if (step.Event)
            AddEvent(session, step.Event);
        if (step.Typed) {
            view.Typed = step.Typed;
            session.Changed(dkNotes);
        }
        EXPECT_TRUE(session.Save().empty());
        EXPECT_EQ(fs::last_write_time(DiaryPath()) != fs::file_time_type {}, step.DiaryWritten)
            << (step.Event ? step.Event : "-");
        EXPECT_EQ(fs::last_write_time(NotesPath()) != fs::file_time_type {}, step.NotesWritten)
            << (step.Typed ? step.Typed : "-");
        // The files stay in the 8-bit form.
        EXPECT_TRUE(
            !step.Event || Read(DiaryPath()).find(Utf8ToAnsi(step.Event)) != std::string::npos);
        EXPECT_TRUE(
            !step.Typed || Read(NotesPath()).find(Utf8ToAnsi(step.Typed)) != std::string::npos);
    }
    // Saved whole, a file that no longer holds the data is written again.
    Write(DiaryPath(), Diary("000000Edited elsewhere\r\n"));
    EXPECT_TRUE(session.Save().empty());
    EXPECT_EQ(Read(DiaryPath()), Diary("000000Edited elsewhere\r\n"));
    EXPECT_TRUE(session.Save(TSaveMode::Closing).empty());
    EXPECT_NE(Read(DiaryPath()).find("Zoo at 5"), std::string::npos);
}

TEST_F(DataSession, ASaveInPassingLeavesThePagesAsTheyAre)
{
    TDataSession session(Clock, Folder);
    TTypingView view(session.Notes());
    session.Notes().SetView(&view);
    session.Load();
    ASSERT_TRUE(session.Save().empty());
    // Today's working list as typed: out of order, with a row left blank.
    TDiaryStore& diary = session.Diary();
    const char* typed[][2]
        = { { "1730", "Zumba  " }, { "0000", "" }, { "0905", "-3 \xC3\xA4rzte" } };
    for (uint8_t row = 1; row <= 3; ++row) {
        diary.EventAtRow(row)->Time = static_cast<uint16_t>(std::stoi(typed[row - 1][0]));
        diary.EventAtRow(row)->Description = typed[row - 1][1];
    }
    session.Changed(dkDiary);
    view.Typed = "in passing";
    session.Changed(dkNotes);
    TDataSession::TSnapshot snapshot = session.Snapshot(TSaveMode::InPassing);
    ASSERT_TRUE(snapshot.Diary && snapshot.Notes);
    EXPECT_EQ(diary.DayEvents()->Description, "Zumba  ");
    EXPECT_EQ(diary.EventAtRow(3)->Time, 905);
    EXPECT_TRUE(session.Finish(session.Write(std::move(snapshot))).empty());
    EXPECT_FALSE(session.Unsaved(dkDiary) || session.Unsaved(dkNotes));
    const std::string saved = Read(DiaryPath());
    EXPECT_LT(saved.find("000905-3 \xE4rzte\r\n"), saved.find("001730Zumba\r\n"));
    EXPECT_NE(Read(NotesPath()).find("in passing"), std::string::npos);
    // Saved already: nothing is taken, whichever way the save is asked.
    for (const TSaveMode mode : { TSaveMode::InPassing, TSaveMode::Changed, TSaveMode::Closing }) {
        const TDataSession::TSnapshot again = session.Snapshot(mode);
        EXPECT_FALSE(again.Diary || again.Notes);
    }
    // A file removed behind the program's back is written again on closing.
    fs::remove(NotesPath());
    EXPECT_FALSE(session.Snapshot(TSaveMode::Changed).Notes);
    EXPECT_TRUE(session.Save(TSaveMode::Closing).empty());
    EXPECT_NE(Read(NotesPath()).find("in passing"), std::string::npos);
}

TEST_F(DataSession, EditsMadeWhileASaveRunsAreKeptForTheNext)
{
    TDataSession session(Clock, Folder);
    session.Load();
    AddEvent(session, "first ABC");
    std::promise<void> edited;
    std::shared_future<void> release = edited.get_future().share();
    ASSERT_TRUE(session.SaveInBackground(
        session.Snapshot(TSaveMode::InPassing), [release] { release.wait(); }));
    // One write at a time.
    EXPECT_FALSE(session.SaveInBackground(session.Snapshot(TSaveMode::InPassing), {}));
    AddEvent(session, "second xyz");
    edited.set_value();
    const auto failures = session.FinishBackground();
    ASSERT_TRUE(failures && failures->empty());
    EXPECT_FALSE(session.FinishBackground());
    EXPECT_EQ(Read(DiaryPath()).substr(0, 17), "000000first ABC\r\n");
    EXPECT_TRUE(session.Unsaved(dkDiary));
    // A save asked meanwhile waits for the one running, then writes the rest.
    ASSERT_TRUE(session.SaveInBackground(session.Snapshot(TSaveMode::InPassing), {}));
    AddEvent(session, "third");
    EXPECT_TRUE(session.Save().empty());
    EXPECT_FALSE(session.Unsaved(dkDiary));
    EXPECT_EQ(Read(DiaryPath()).substr(0, 13), "000000third\r\n");
}

TEST_F(DataSession, AFailedSaveKeepsTheDataAndTellsWhy)
{
    TDataSession session(Clock, Folder);
    TTypingView view(session.Notes());
    session.Notes().SetView(&view);
    session.Load();
    ASSERT_TRUE(session.Save().empty());
    AddEvent(session, "typed");
    view.Typed = "noted";
    session.Changed(dkNotes);
    // A folder in the temporary file's place blocks the diary's save; a
    // read-only notes file is not replaced.
    fs::create_directory(Folder / "DIARY.DAT.tmp");
    fs::permissions(NotesPath(), fs::perms::owner_read);
    auto failures = session.Save();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].Kind, dkDiary);
    EXPECT_EQ(failures[0].Path, DiaryPath());
    EXPECT_EQ(failures[0].Result, TDataFile::srFailed);
    EXPECT_EQ(failures[0].Error, EISDIR);
    EXPECT_EQ(failures[0].Text.substr(0, 13), "000000typed\r\n");
    EXPECT_EQ(failures[1].Kind, dkNotes);
    EXPECT_EQ(failures[1].Result, TDataFile::srReadOnly);
    EXPECT_NE(failures[1].Text.find("noted"), std::string::npos);
    EXPECT_EQ(session.Diary().DiaryDays[0]->Description, "typed");
    // Still unsaved: the next save of changes only tries again, and once the
    // cause is gone it writes; the exit may then free the data, and nothing
    // writes a freed diary or tree over the files.
    EXPECT_EQ(session.Save().size(), 2u);
    fs::remove(Folder / "DIARY.DAT.tmp");
    fs::permissions(NotesPath(), fs::perms::owner_all);
    EXPECT_TRUE(session.Save().empty());
    EXPECT_EQ(Read(DiaryPath()).substr(0, 13), "000000typed\r\n");
    session.Free();
    EXPECT_FALSE(session.Loaded());
    EXPECT_TRUE(session.Save(TSaveMode::Closing).empty());
    EXPECT_EQ(Read(DiaryPath()).substr(0, 13), "000000typed\r\n");
    EXPECT_NE(Read(NotesPath()).find("noted"), std::string::npos);
}

TEST_F(DataSession, AFullDiskIsNamedAsTheReason)
{
    TDataSession session(Clock, Folder);
    session.Load();
    for (int i = 0; i < 200; ++i)
        AddEvent(session,
            "A long description to make the diary larger than the limit " + std::to_string(i));
    // The size limit stands in for a full disk: the write fails with its error.
    rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const auto failures = session.Save();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Error, EFBIG);
    EXPECT_FALSE(fs::exists(Folder / "DIARY.DAT.tmp"));
}

TEST_F(DataSession, AFileReadInPartIsToldOnce)
{
    const std::string original = "\xFF"
                                 "10"
        + std::string(40, '0')
        + "Root\r\nline\r\n\x1A"
          "more\r\n";
    Write(NotesPath(), original);
    TDataSession session(Clock, Folder);
    EXPECT_FALSE(session.Load());
    auto notices = session.TakeLoadNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].Kind, dkNotes);
    EXPECT_EQ(notices[0].End, TDataFile::leStoppedEarly);
    EXPECT_EQ(notices[0].Backup.filename(), "NOTES.DAT.2026-12-09.bak");
    EXPECT_TRUE(session.TakeLoadNotices().empty());
    // The save keeps the original beside the file first.
    EXPECT_TRUE(session.Save(TSaveMode::Closing).empty());
    EXPECT_EQ(Read(Folder / "NOTES.DAT.2026-12-09.bak"), original);
    EXPECT_EQ(session.Notes().Tree().Root()->Data->Lines, std::vector<std::string> { "line" });
}

TEST_F(DataSession, EmergencyCopiesAreKeptAndToldOfOnce)
{
    TRecoveryFolder recovery(Folder / "state" / "Talvo95" / "recovered");
    EXPECT_TRUE(recovery.TakeNotice().empty());
    const std::vector<TSaveFailure> failures {
        { dkDiary, "/data/DIARY.DAT", TDataFile::srFailed, ENOSPC, "000000Kept \xE9\r\n" },
        { dkNotes, "/data/NOTES.DAT", TDataFile::srFailed, ENOSPC, "" },
    };
    const TDateTime at = EncodeDate(2026, 1, 2) + EncodeTime(3, 4, 5);
    const auto first = recovery.Keep(failures, at);
    const auto second = recovery.Keep({ failures[0] }, at);
    ASSERT_TRUE(first && second);
    ASSERT_EQ(first->size(), 2u);
    EXPECT_EQ((*first)[0].filename(), "DIARY.DAT.2026-01-02-030405");
    EXPECT_EQ((*first)[1].filename(), "NOTES.DAT.2026-01-02-030405");
    EXPECT_EQ(second->at(0).filename(), "DIARY.DAT.2026-01-02-030405-2");
    EXPECT_EQ(Read((*first)[0]), "000000Kept \xE9\r\n");
    EXPECT_EQ(fs::status(recovery.Folder()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(
        recovery.TakeNotice(), (std::vector<fs::path> { (*first)[0], (*first)[1], (*second)[0] }));
    EXPECT_TRUE(recovery.TakeNotice().empty());
    // A folder that cannot be made keeps nothing.
    Write(Folder / "plain", "a file");
    EXPECT_FALSE(TRecoveryFolder(Folder / "plain" / "recovered").Keep(failures, at));
}

} // namespace
