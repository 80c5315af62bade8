#pragma once

#include "base/DataFile.h"
#include "base/DateTime.h"
#include "base/IoError.h"
#include "diary/DiaryStore.h"
#include "notes/NotesDocument.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The data files a session keeps.
enum TDataKind { dkDiary, dkNotes };

// A file that a save could not write, and why.
struct TSaveFailure {
    TDataKind Kind = dkDiary;
    std::filesystem::path Path;
    TDataFile::TSaveResult Result = TDataFile::srFailed;
    // The system's error number (ENOSPC for a full disk), or 0.
    int Error = 0;
    // The text that was not written, for an emergency copy.
    std::string Text;
};

// A file that the last load read only in part: the user is told once.
struct TLoadNotice {
    TDataKind Kind = dkDiary;
    std::filesystem::path Path;
    TDataFile::TLoadEnd End = TDataFile::leWhole;
    // Where the original is kept before the next save replaces it.
    std::filesystem::path Backup;
};

// How a save treats the pages and the files.
enum class TSaveMode {
    // Hiding and the exit: the diary's shown day is committed (sorted) and the
    // notes page stores its category; a file changed or removed behind the
    // program's back is written again.
    Closing,
    // Only what changed since the last save.
    Changed,
    // A save the user did not ask for (autosave): only what changed, and the
    // pages stay exactly as the user has them (the diary's rows in their
    // order, the notes' caret, scroll and cell editor).
    InPassing,
};

// The user's data in memory and its files: the diary store with "DIARY.DAT",
// the notes document with "NOTES.DAT", and what the last save wrote of each.
// The window asks it to load, save and free, and shows what it reports; it
// knows no window and shows nothing itself.
//
// Ownership: the session owns the store, the document and both data files for
// its whole life; the pages hold references to the store and the document and
// attach to them as their views, detaching before they go. The data is in
// memory from Load until Free; outside that, Save writes nothing, so a freed
// (empty) diary or tree can never empty a file. What was last saved is kept
// per file as a digest of the text written (or found in the file already);
// Load and Free forget it. A save that fails leaves memory as it was, and the
// digest too, so the next save tries again.
//
// Every change of the data in memory is told with Changed (typing, undo, a
// bulk edit, the purge, an import, a sync): each file counts its changes, and
// a file whose count has not moved since its last save or load is neither
// formatted nor written, unless a closing save finds that its file was
// changed or removed behind the program's back.
//
// A save goes in three steps that may run apart: Snapshot() takes what is to
// be saved on the window's thread (the diary's text, a copy of the notes),
// Write() formats and writes it and may run on another thread, and Finish()
// takes the outcome back on the window's thread. Save() is the three in a
// row; SaveInBackground() runs Write on a thread of its own. Only one write
// runs at a time: Save, Load and Free first wait for one that is running.
class TDataSession final
{
public:
    TDataSession(const IClock& clock, std::filesystem::path folder);
    TDataSession(const TDataSession&) = delete;
    TDataSession& operator=(const TDataSession&) = delete;
    // Waits for a write still running.
    ~TDataSession();

    TDiaryStore& Diary() { return FDiary; }
    TNotesDocument& Notes() { return FNotes; }
    const std::filesystem::path& Folder() const { return FFolder; }
    bool Loaded() const { return FLoaded; }

    // Removes the temporary files a save cut short left beside the data files,
    // then replaces what memory holds with both files. False when either was
    // not read to its end (TakeLoadNotices says which).
    bool Load();
    // Load, but the notes are read on a worker thread and come into the
    // document with FinishNotes: a big notes file does not hold up the
    // window. A save in the meantime waits for them.
    void StartLoad();
    // True while notes read on the worker wait to be taken in.
    bool NotesPending() const { return PendingNotes.valid(); }
    // True when FinishNotes would not wait.
    bool NotesReady() const;
    // Takes in the notes read on the worker, waiting for them if need be.
    void FinishNotes();
    // Frees the diary and the notes; nothing is written until the next Load.
    void Free();

    // The data of a file changed in memory. The listener hears of it (the
    // window's autosave).
    void Changed(TDataKind kind);
    void SetChangeListener(std::function<void(TDataKind)> listener)
    {
        ChangeListener = std::move(listener);
    }
    // Whether a file has changes that no save has written yet.
    bool Unsaved(TDataKind kind) const;

    // What one moment holds of the files to be written.
    struct TSnapshot {
        std::optional<std::string> Diary;
        std::unique_ptr<TNotesTree> Notes;
        TTextForm NotesLeast = tfAnsi;
        // The digest of the notes' last save; an equal text is not written.
        std::optional<uint64_t> NotesSaved;
        // Compare the notes' text with what the file holds.
        bool NotesAgainstFile = false;
        std::array<uint64_t, 2> Counts {};
        // Dates the copy of an original that was not read whole.
        TDateTime Now = 0;
    };
    // How a snapshot's write ended, for Finish.
    struct TWritten {
        // The digest of the text the file now holds, where it holds the snapshot's.
        std::array<std::optional<uint64_t>, 2> Digests;
        std::array<uint64_t, 2> Counts {};
        std::vector<TSaveFailure> Failures;
    };
    TSnapshot Snapshot(TSaveMode mode = TSaveMode::Changed);
    // Formats and writes the snapshot's files; touches nothing of the session
    // but the two data files, so it may run on another thread.
    TWritten Write(TSnapshot snapshot);
    // The failures, each file's own; a file written counts as saved up to the
    // changes its snapshot held, later ones stay unsaved.
    std::vector<TSaveFailure> Finish(TWritten written);
    // Finish(Write(Snapshot(mode))), after a write running in the background:
    // empty when everything is saved.
    std::vector<TSaveFailure> Save(TSaveMode mode = TSaveMode::Changed);

    // Writes the snapshot on a thread of its own; `done` is called on that
    // thread when it ends, and the owner then calls FinishBackground on its
    // own. False, with nothing started, while a write is running.
    bool SaveInBackground(TSnapshot snapshot, std::function<void()> done);
    bool SavingInBackground() const { return Running.valid(); }
    // Waits for the write running in the background and takes its outcome;
    // nothing when none was running (Save, Load or Free took it already).
    std::optional<std::vector<TSaveFailure>> FinishBackground();

    // The files the last load read only in part, once per load.
    std::vector<TLoadNotice> TakeLoadNotices();
    // The files that the last saves first kept as UTF-8, each told once;
    // none while a write runs in the background.
    std::vector<std::filesystem::path> TakeFormNotices();

    // The diary file's last change, in nanoseconds; -1 when it has none.
    int64_t DiaryFileTime() const;

private:
    TDataFile& FileOf(TDataKind kind) { return kind == dkDiary ? DiaryFile : NotesFile; }
    const TDataFile& FileOf(TDataKind kind) const
    {
        return kind == dkDiary ? DiaryFile : NotesFile;
    }
    // Whether a closing save must look at the file though nothing changed it.
    bool FileMoved(TDataKind kind) const;
    void Saw(TDataKind kind);
    bool NeedsLook(TDataKind kind, TSaveMode mode) const;

    struct TNotesRead {
        TNotesTree Tree;
        TDataFile File;
    };

    const IClock& Clock;
    std::filesystem::path FFolder;
    TIoError IoError;
    TDiaryStore FDiary;
    TNotesDocument FNotes;
    TDataFile DiaryFile;
    TDataFile NotesFile;
    bool FLoaded = false;
    std::optional<uint64_t> SavedDiary;
    std::optional<uint64_t> SavedNotes;
    // Per file: the changes counted, and how many of them are saved.
    std::array<uint64_t, 2> ChangeCounts {};
    std::array<uint64_t, 2> SavedCounts {};
    // Per file: its time and size as the last load or save left them.
    std::array<std::optional<std::pair<int64_t, uintmax_t>>, 2> Seen;
    std::future<TWritten> Running;
    std::function<void(TDataKind)> ChangeListener;
    // Last, so the session waits for the notes' reader before anything else goes.
    std::future<TNotesRead> PendingNotes;
};
