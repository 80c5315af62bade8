#include "session/DataSession.h"

#include "base/TextFile.h"
#include "diary/DiaryFile.h"
#include "notes/NotesFile.h"

#include <chrono>
#include <functional>
#include <string_view>
#include <system_error>
#include <utility>

namespace
{

uint64_t NotesDigest(std::string_view text)
{
    return std::hash<std::string_view>()(text);
}

// A save cut short (a kill, a power cut) leaves its temporary file beside the
// file it was to replace, or beside the copy a rewrite in place writes first;
// only this program writes those names.
void RemoveStaleTemporary(const std::filesystem::path& file)
{
    const std::filesystem::path real = FollowLinks(file);
    for (const std::filesystem::path& temporary :
        { TemporaryPathFor(real), TemporaryPathFor(RewriteJournalFor(real)) }) {
        std::error_code error;
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(temporary, error)))
            std::filesystem::remove(temporary, error);
    }
}

bool ReadWhole(const TDataFile& file)
{
    return file.LoadEnd() != TDataFile::leReadError && file.LoadEnd() != TDataFile::leStoppedEarly
        && file.LoadEnd() != TDataFile::leInvalidText;
}

} // namespace

TDataSession::TDataSession(const IClock& clock, std::filesystem::path folder)
    : Clock(clock)
    , FFolder(std::move(folder))
    , FDiary(clock)
    , DiaryFile(FFolder / DiaryFileName)
    , NotesFile(FFolder / NotesFileName)
{
}

bool TDataSession::Load()
{
    StartLoad();
    FinishNotes();
    return ReadWhole(DiaryFile) && ReadWhole(NotesFile);
}

void TDataSession::StartLoad()
{
    // A read still going gives way to the new one.
    if (PendingNotes.valid())
        PendingNotes.get();
    RemoveStaleTemporary(DiaryFile.Path());
    RemoveStaleTemporary(NotesFile.Path());
    FDiary.OpenDiary(DiaryFile, IoError);
    // Until the file's notes come, memory holds none, so no save can write
    // older ones over it.
    if (!FNotes.Tree().Empty())
        FNotes.Clear();
    FLoaded = true;
    SavedDiary.reset();
    SavedNotes.reset();
    // The worker has a file object and a tree of its own; FinishNotes
    // takes both.
    PendingNotes = std::async(std::launch::async, [file = NotesFile]() mutable {
        TNotesRead read { {}, std::move(file) };
        TIoError ioError;
        LoadNotes(read.Tree, read.File, ioError);
        return read;
    });
}

bool TDataSession::NotesReady() const
{
    return PendingNotes.valid()
        && PendingNotes.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

void TDataSession::FinishNotes()
{
    if (!PendingNotes.valid())
        return;
    TNotesRead read = PendingNotes.get();
    NotesFile = std::move(read.File);
    FNotes.Adopt(std::move(read.Tree));
}

void TDataSession::Free()
{
    if (PendingNotes.valid())
        PendingNotes.get();
    FDiary.FreeDiary();
    FNotes.Clear();
    FLoaded = false;
}

TDataSession::TSnapshot TDataSession::Snapshot(bool always)
{
    TSnapshot snapshot;
    if (!FLoaded)
        return snapshot;
    FDiary.CommitSelectedDay();
    // A diary whose file holds it already is not written again: the file keeps
    // its date, and the exit does not wait for a needless write to the disk.
    // Before the first save, what was last saved is what the file holds.
    if (always || !SavedDiary) {
        if (const auto unchanged = UnchangedDiaryDigest(FDiary.DiaryDays, DiaryFile))
            SavedDiary = *unchanged;
        else
            snapshot.Diary = FormatDiary(FDiary.DiaryDays, DiaryFile.Form());
    } else if (SavedDiary != DiaryDigest(FDiary.DiaryDays, DiaryFile.Form())) {
        snapshot.Diary = FormatDiary(FDiary.DiaryDays, DiaryFile.Form());
    }
    // A save compares the notes with their file, so it waits for the rest of
    // the read: it never writes notes read in part, and a first start still
    // writes the new tree.
    FinishNotes();
    if (FNotes.Loaded()) {
        FNotes.StoreView();
        std::string text = FormatNotes(FNotes.Tree(), NotesFile.Form());
        const uint64_t digest = NotesDigest(text);
        if (!always && SavedNotes == digest)
            return snapshot;
        if (NotesFile.Holds(text))
            SavedNotes = digest;
        else
            snapshot.Notes = std::move(text);
    }
    return snapshot;
}

std::vector<TSaveFailure> TDataSession::Write(TSnapshot snapshot)
{
    std::vector<TSaveFailure> failures;
    if (!FLoaded)
        return failures;
    // Each file is written whatever became of the other.
    const auto write = [&](TDataKind kind, std::optional<std::string>& text,
                           std::optional<uint64_t>& saved, uint64_t (*digest)(std::string_view)) {
        if (!text)
            return;
        TDataFile& file = FileOf(kind);
        const TDataFile::TSaveResult result = SaveDataText(*text, file, IoError, Clock.Now());
        if (result == TDataFile::srSaved)
            saved = digest(*text);
        else
            failures.push_back({ kind, file.Path(), result, file.SaveError(), std::move(*text) });
    };
    write(dkDiary, snapshot.Diary, SavedDiary, DiaryTextDigest);
    write(dkNotes, snapshot.Notes, SavedNotes, NotesDigest);
    return failures;
}

std::vector<TSaveFailure> TDataSession::Save(bool always)
{
    return Write(Snapshot(always));
}

std::vector<TLoadNotice> TDataSession::TakeLoadNotices()
{
    std::vector<TLoadNotice> notices;
    for (const TDataKind kind : { dkDiary, dkNotes }) {
        TDataFile& file = FileOf(kind);
        if (file.TakeNotice())
            notices.push_back(
                { kind, file.Path(), file.LoadEnd(), file.BackupPathFor(Clock.Now()) });
    }
    return notices;
}

std::vector<std::filesystem::path> TDataSession::TakeFormNotices()
{
    std::vector<std::filesystem::path> files;
    for (const TDataKind kind : { dkDiary, dkNotes })
        if (FileOf(kind).TakeFormNotice())
            files.push_back(FileOf(kind).Path());
    return files;
}

int64_t TDataSession::DiaryFileTime() const
{
    std::error_code error;
    const auto stamp = std::filesystem::last_write_time(DiaryFile.Path(), error);
    if (error)
        return -1;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(stamp.time_since_epoch()).count();
}
