#pragma once

#include "base/DataFile.h"
#include "base/DateTime.h"
#include "base/IoError.h"
#include "diary/DiaryStore.h"
#include "notes/NotesDocument.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <string>
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
// A save goes in two steps that later work can run apart: Snapshot() takes the
// texts of the files that differ from their last save (committing the diary's
// working list and the notes page first), and Write() writes a snapshot's
// texts by the files' rules. Save() is the two together.
class TDataSession final
{
public:
    TDataSession(const IClock& clock, std::filesystem::path folder);
    TDataSession(const TDataSession&) = delete;
    TDataSession& operator=(const TDataSession&) = delete;

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

    // The texts of one moment, for Write.
    struct TSnapshot {
        std::optional<std::string> Diary;
        std::optional<std::string> Notes;
    };
    // The texts that differ from what the last save wrote (before the first
    // save, from what the file holds), or, when `always`, every text that
    // differs from what its file holds. Nothing before Load.
    TSnapshot Snapshot(bool always = false);
    // Writes the snapshot's texts; the failures, each file's own.
    std::vector<TSaveFailure> Write(TSnapshot snapshot);
    // Write(Snapshot(always)): empty when everything is saved.
    std::vector<TSaveFailure> Save(bool always = false);

    // The files the last load read only in part, once per load.
    std::vector<TLoadNotice> TakeLoadNotices();
    // The files that the last saves first kept as UTF-8, each told once.
    std::vector<std::filesystem::path> TakeFormNotices();

    // The diary file's last change, in nanoseconds; -1 when it has none.
    int64_t DiaryFileTime() const;

private:
    TDataFile& FileOf(TDataKind kind) { return kind == dkDiary ? DiaryFile : NotesFile; }

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
    // Last, so the session waits for the worker before anything else goes.
    std::future<TNotesRead> PendingNotes;
};
