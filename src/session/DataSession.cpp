#include "session/DataSession.h"

#include "base/TextFile.h"
#include "diary/DiaryFile.h"
#include "notes/NotesFile.h"

#include <algorithm>
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

// A file's time and size, to notice a change made behind the program's back.
std::optional<std::pair<int64_t, uintmax_t>> FileStamp(const std::filesystem::path& path)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return std::nullopt;
    return std::pair { static_cast<int64_t>(time.time_since_epoch().count()), size };
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

TDataSession::~TDataSession()
{
    if (Running.valid())
        Running.wait();
}

bool TDataSession::Load()
{
    StartLoad();
    FinishNotes();
    return ReadWhole(DiaryFile) && ReadWhole(NotesFile);
}

void TDataSession::StartLoad()
{
    FinishBackground();
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
    // Memory holds what the files hold. A file that is not there yet, or whose
    // original is still to be kept beside it, is written by the next save, and
    // so is a diary not in the form a save writes (line ends of another
    // system, say): the diary is small enough to compare now, the notes are
    // compared once they change. The notes are counted once they come.
    SavedCounts = ChangeCounts;
    Saw(dkDiary);
    if (DiaryFile.LoadEnd() == TDataFile::leMissing || DiaryFile.KeepsOriginal())
        ++ChangeCounts[dkDiary];
    if (!Unsaved(dkDiary)) {
        SavedDiary = UnchangedDiaryDigest(FDiary.DiaryDays, DiaryFile);
        if (!SavedDiary)
            ++ChangeCounts[dkDiary];
    }
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
    Saw(dkNotes);
    if (NotesFile.LoadEnd() == TDataFile::leMissing || NotesFile.KeepsOriginal())
        ++ChangeCounts[dkNotes];
}

void TDataSession::Free()
{
    FinishBackground();
    if (PendingNotes.valid())
        PendingNotes.get();
    FDiary.FreeDiary();
    FNotes.Clear();
    FLoaded = false;
}

void TDataSession::Changed(TDataKind kind)
{
    ++ChangeCounts[kind];
    if (ChangeListener)
        ChangeListener(kind);
}

bool TDataSession::Unsaved(TDataKind kind) const
{
    return ChangeCounts[kind] != SavedCounts[kind];
}

bool TDataSession::FileMoved(TDataKind kind) const
{
    return Seen[kind] != FileStamp(FileOf(kind).Path());
}

void TDataSession::Saw(TDataKind kind)
{
    Seen[kind] = FileStamp(FileOf(kind).Path());
}

bool TDataSession::NeedsLook(TDataKind kind, TSaveMode mode) const
{
    return Unsaved(kind) || (mode == TSaveMode::Closing && FileMoved(kind));
}

TDataSession::TSnapshot TDataSession::Snapshot(TSaveMode mode)
{
    TSnapshot snapshot;
    if (!FLoaded)
        return snapshot;
    snapshot.Counts = ChangeCounts;
    snapshot.Now = Clock.Now();
    const bool inPassing = mode == TSaveMode::InPassing;
    if (!inPassing)
        FDiary.CommitSelectedDay();
    if (NeedsLook(dkDiary, mode)) {
        // In passing, the page's rows stay in their order: only the text is
        // committed.
        std::string text = inPassing ? FDiary.FormatCommitted(DiaryFile.Form())
                                     : FormatDiary(FDiary.DiaryDays, DiaryFile.Form());
        const uint64_t digest = DiaryTextDigest(text);
        // Before the first save, and after a change behind the program's back,
        // what was last saved is what the file holds. A diary whose file holds
        // it already is not written again: the file keeps its date, and the
        // exit does not wait for a needless write to the disk.
        const bool againstFile = !SavedDiary || (mode == TSaveMode::Closing && FileMoved(dkDiary));
        if (againstFile ? DiaryFile.Holds(text) : SavedDiary == digest) {
            SavedDiary = digest;
            SavedCounts[dkDiary] = snapshot.Counts[dkDiary];
            Saw(dkDiary);
        } else {
            snapshot.Diary = std::move(text);
        }
    }
    // A save compares the notes with their file, so it waits for the rest of
    // the read: it never writes notes read in part, and a first start still
    // writes the new tree. An autosave does not wait: nothing can have
    // changed notes that are not in yet.
    if (!inPassing || NotesReady())
        FinishNotes();
    if (FNotes.Loaded()) {
        if (inPassing)
            FNotes.StoreViewInPassing();
        else
            FNotes.StoreView();
        if (NeedsLook(dkNotes, mode)) {
            snapshot.Notes = FNotes.CopyTree();
            snapshot.NotesLeast = NotesFile.Form();
            snapshot.NotesSaved = SavedNotes;
            snapshot.NotesAgainstFile
                = !SavedNotes || (mode == TSaveMode::Closing && FileMoved(dkNotes));
        }
    }
    return snapshot;
}

TDataSession::TWritten TDataSession::Write(TSnapshot snapshot)
{
    TWritten written;
    written.Counts = snapshot.Counts;
    // The flag is the writer's own: the result tells how each save ended.
    TIoError ioError;
    const auto write = [&](TDataKind kind, std::string& text, uint64_t digest) {
        TDataFile& file = FileOf(kind);
        const TDataFile::TSaveResult result = SaveDataText(text, file, ioError, snapshot.Now);
        if (result == TDataFile::srSaved)
            written.Digests[kind] = digest;
        else
            written.Failures.push_back(
                { kind, file.Path(), result, file.SaveError(), std::move(text) });
    };
    // Each file is written whatever became of the other.
    if (snapshot.Diary)
        write(dkDiary, *snapshot.Diary, DiaryTextDigest(*snapshot.Diary));
    if (snapshot.Notes) {
        std::string text = FormatNotes(*snapshot.Notes, snapshot.NotesLeast);
        snapshot.Notes.reset();
        const uint64_t digest = NotesDigest(text);
        if (snapshot.NotesAgainstFile ? NotesFile.Holds(text) : snapshot.NotesSaved == digest)
            written.Digests[dkNotes] = digest;
        else
            write(dkNotes, text, digest);
    }
    return written;
}

std::vector<TSaveFailure> TDataSession::Finish(TWritten written)
{
    if (!FLoaded)
        return {};
    for (const TDataKind kind : { dkDiary, dkNotes }) {
        if (!written.Digests[kind])
            continue;
        (kind == dkDiary ? SavedDiary : SavedNotes) = written.Digests[kind];
        // Changes made while it was written wait for the next save.
        SavedCounts[kind] = std::max(SavedCounts[kind], written.Counts[kind]);
        Saw(kind);
    }
    return std::move(written.Failures);
}

std::vector<TSaveFailure> TDataSession::Save(TSaveMode mode)
{
    FinishBackground();
    return Finish(Write(Snapshot(mode)));
}

bool TDataSession::SaveInBackground(TSnapshot snapshot, std::function<void()> done)
{
    if (Running.valid())
        return false;
    Running = std::async(std::launch::async,
        [this, snapshot = std::move(snapshot), done = std::move(done)]() mutable {
            TWritten written = Write(std::move(snapshot));
            if (done)
                done();
            return written;
        });
    return true;
}

std::optional<std::vector<TSaveFailure>> TDataSession::FinishBackground()
{
    if (!Running.valid())
        return std::nullopt;
    return Finish(Running.get());
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
    // The files are the writer's while it runs; asked again once it is done.
    if (Running.valid())
        return files;
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
