#pragma once

#include "base/DateTime.h"
#include "base/TextFile.h"
#include "base/Utf8Text.h"

#include <filesystem>
#include <string>
#include <string_view>

// One of the program's data files ("DIARY.DAT", "NOTES.DAT") and the rules that
// keep what the user typed, whatever the file turns out to be:
// - A load that stops before the end of the file (a read error, or a reader
//   that stops early, as at a byte 26 with data after it) is told to the user
//   once, and the file's original bytes are copied beside it before the first
//   save replaces it. When that copy cannot be made the save does not happen.
// - A save writes through a symbolic link to the file it names, with the
//   temporary file beside that file and its access rights kept; a file with
//   other hard links is rewritten in place so every name sees the save, with
//   a complete copy of the new content beside it until the rewrite is on the
//   disk: a load finds the copy of a rewrite cut short and finishes it first.
//   A read-only file is never replaced: the save fails and says so.
// - A file is kept in the form it was read in (Windows-1252, or UTF-8 after
//   the mark) until a save needs UTF-8; from then on it stays UTF-8. Bytes of a
//   UTF-8 file that are not UTF-8 count as a load that stopped early: the
//   original is kept.
// The object lives as long as the data it loads: it remembers how the last
// load ended until a save has kept the original.
class TDataFile
{
public:
    // How the last load ended.
    enum TLoadEnd { leWhole, leMissing, leReadError, leStoppedEarly, leInvalidText };
    // How a save ended.
    enum TSaveResult { srSaved, srFailed, srReadOnly, srNoBackup };

    // A load reads the file's bytes through `readCall`.
    explicit TDataFile(std::filesystem::path path, TReadCall readCall = SystemRead);

    const std::filesystem::path& Path() const { return FilePath; }

    // Reads the whole file into `content` and starts a new load. A missing file
    // gives no content (leMissing); a file that cannot be read to its end keeps
    // what was read (leReadError). False for a read error.
    bool Read(std::string& content);
    // The same load with the file read piece by piece into `buffer`, each piece
    // handed to `piece` as it comes; on a read error the pieces handed are what
    // was read.
    bool ReadPieces(std::span<char> buffer, const std::function<void(std::string_view)>& piece);
    // Reads the file as ReadPieces does, but as a look ahead that starts no
    // load and tells nothing of how the next one ends. False unless the file
    // was there and read to its end.
    bool Scan(std::span<char> buffer, const std::function<void(std::string_view)>& piece) const;
    // The reader stopped before the end of what the load read.
    void StoppedEarly();
    // The file was marked UTF-8 but held bytes that are not: they were read as
    // U+FFFD, so the original is kept.
    void InvalidText();
    // The form the last load found, or the last save wrote.
    TTextForm Form() const { return TextForm; }
    void ReadAs(TTextForm form) { TextForm = form; }
    // The form of the next save: UTF-8 once the file is, or when the text does
    // not fit Windows-1252.
    TTextForm FormFor(bool fitsAnsi) const { return fitsAnsi ? TextForm : tfUtf8; }
    // True once after the save that first kept the file as UTF-8: the moment
    // to tell the user.
    bool TakeFormNotice();
    TLoadEnd LoadEnd() const { return Ended; }
    // True when the last load left bytes unread and their copy is not made yet.
    bool KeepsOriginal() const;
    // True once per load that left bytes unread: the moment to tell the user.
    bool TakeNotice();

    // Where the original's bytes go: "<file>.<yyyy-mm-dd>.bak" beside the file
    // (the real file, not a link to it), with "-2", "-3" ... before ".bak" when
    // that name is taken.
    std::filesystem::path BackupPathFor(TDateTime now) const;
    // The copy made for the last load, or empty.
    const std::filesystem::path& BackupPath() const { return Backup; }

    // Replaces the file's content as the rules above say; `now` dates the copy
    // of an original that was not read whole. A content that begins with the
    // mark is a UTF-8 one (the files' 8-bit texts begin with a digit or 0xFF).
    // After any failure the file is as it was and no temporary file is left.
    TSaveResult Save(std::string_view content, TDateTime now);
    // The system's error number of the last failed save (ENOSPC for a full
    // disk), or 0 when it has none.
    int SaveError() const { return FSaveError; }
    // True when saving `content` would change nothing: the file holds exactly
    // it, and its last load read it whole (no original is left to keep).
    bool Holds(std::string_view content) const;

private:
    TSaveResult Write(std::string_view content, TDateTime now);
    // Puts in place the copy that a rewrite cut short left beside the file.
    void FinishRewrite() const;
    // Starts a load whose read ended as told; false for a read error.
    bool StartLoad(bool read, bool readAnything);

    std::filesystem::path FilePath;
    TReadCall ReadCall;
    TLoadEnd Ended = leMissing;
    bool NoticeTaken = false;
    bool OriginalKept = false;
    std::filesystem::path Backup;
    int FSaveError = 0;
    TTextForm TextForm = tfAnsi;
    bool FormNoticePending = false;
};

class TIoError;

// A data file's save as the pages make it: by the file's rules, with the I/O
// error flag left clear, since the result itself tells how the save ended.
TDataFile::TSaveResult SaveDataText(
    std::string_view text, TDataFile& file, TIoError& ioError, TDateTime now);

// Reads a file alongside a text given in pieces and tells whether the two are
// the same, holding neither whole: a save that would change nothing need not
// be made.
class TFileComparison
{
public:
    explicit TFileComparison(const std::filesystem::path& path);
    TFileComparison(const TFileComparison&) = delete;
    TFileComparison& operator=(const TFileComparison&) = delete;
    ~TFileComparison();

    // Compares the piece with the file's next bytes; false from the first
    // difference on, and for a file that is not a plain one or cannot be read.
    bool Next(std::string_view piece);
    // True when every piece matched and the file ends where the last one did.
    bool Same();

private:
    int Fd = -1;
    bool Matching = false;
    std::string Buffer;
};

// Where a rewrite in place keeps the new content until it is done:
// "<file>.rewrite" beside the file.
std::filesystem::path RewriteJournalFor(const std::filesystem::path& file);

// The file a path finally names, following symbolic links (a dangling link
// names the file it would create).
std::filesystem::path FollowLinks(const std::filesystem::path& path);
