#include "base/DataFile.h"

#include "base/IoError.h"
#include "base/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace
{

constexpr int MaxLinkHops = 40;

bool IsReadOnly(const std::filesystem::path& file, const struct stat& info)
{
    // Root may write anything: the file's own bits say what its owner meant.
    return (info.st_mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0;
}

bool WriteAllAt0(int fd, std::string_view content)
{
    off_t offset = 0;
    while (!content.empty()) {
        const ssize_t written = ::pwrite(fd, content.data(), content.size(), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<size_t>(written));
        offset += written;
    }
    return true;
}

// Every name of a file with several hard links must see the save, so it is
// written where it is. Its space is taken first, so a full disk or a size limit
// stops the save before the old content is touched.
bool WriteInPlace(const std::filesystem::path& file, std::string_view content)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const auto size = static_cast<off_t>(content.size());
    const int reserved = size > 0 ? ::posix_fallocate(fd, 0, size) : 0;
    const bool room = reserved == 0 || reserved == EOPNOTSUPP || reserved == EINVAL;
    const bool written
        = room && WriteAllAt0(fd, content) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && written;
}

void RemoveJournal(const std::filesystem::path& journal)
{
    if (::unlink(journal.c_str()) == 0)
        SyncFolderOf(journal);
}

// A rewrite in place is first written whole beside the file, and that copy goes
// only once the file holds all of it on the disk: a rewrite cut short at any
// moment leaves either the old file (no copy yet) or a complete copy of the
// new one, which the next load puts in place.
bool RewriteInPlace(const std::filesystem::path& file, std::string_view content)
{
    const std::filesystem::path journal = RewriteJournalFor(file);
    if (!WriteFileAtomically(journal, content))
        return false;
    if (!WriteInPlace(file, content))
        return false;
    RemoveJournal(journal);
    return true;
}

} // namespace

std::filesystem::path RewriteJournalFor(const std::filesystem::path& file)
{
    std::filesystem::path journal = file;
    journal += ".rewrite";
    return journal;
}

std::filesystem::path FollowLinks(const std::filesystem::path& path)
{
    std::filesystem::path file = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, error)))
            return file;
        const std::filesystem::path target = std::filesystem::read_symlink(file, error);
        if (error)
            return file;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file;
}

TDataFile::TDataFile(std::filesystem::path path, TReadCall readCall)
    : FilePath(std::move(path))
    , ReadCall(readCall)
{
}

void TDataFile::FinishRewrite() const
{
    const std::filesystem::path file = FollowLinks(FilePath);
    const std::filesystem::path journal = RewriteJournalFor(file);
    std::string content;
    if (!ReadWholeFile(journal, content))
        return;
    struct stat info {
    };
    const bool finished = ::stat(file.c_str(), &info) == 0
        ? S_ISREG(info.st_mode) && WriteInPlace(file, content)
        : ::rename(journal.c_str(), file.c_str()) == 0;
    if (finished)
        RemoveJournal(journal);
}

bool TDataFile::Read(std::string& content)
{
    FinishRewrite();
    const bool read = ReadWholeFile(FilePath, content, ReadCall);
    return StartLoad(read, !content.empty());
}

bool TDataFile::ReadPieces(
    std::span<char> buffer, const std::function<void(std::string_view)>& piece)
{
    FinishRewrite();
    bool readAnything = false;
    const bool read = ReadFileInPieces(
        FilePath, buffer,
        [&](std::string_view bytes) {
            readAnything = true;
            piece(bytes);
        },
        ReadCall);
    return StartLoad(read, readAnything);
}

bool TDataFile::Scan(
    std::span<char> buffer, const std::function<void(std::string_view)>& piece) const
{
    return ReadFileInPieces(FilePath, buffer, piece, ReadCall);
}

bool TDataFile::StartLoad(bool read, bool readAnything)
{
    NoticeTaken = false;
    OriginalKept = false;
    Backup.clear();
    TextForm = tfAnsi;
    if (read) {
        Ended = leWhole;
        return true;
    }
    if (!readAnything && ::access(FilePath.c_str(), F_OK) != 0 && errno == ENOENT) {
        Ended = leMissing;
        return true;
    }
    Ended = leReadError;
    return false;
}

void TDataFile::StoppedEarly()
{
    if (Ended == leWhole)
        Ended = leStoppedEarly;
}

void TDataFile::InvalidText()
{
    if (Ended == leWhole)
        Ended = leInvalidText;
}

bool TDataFile::KeepsOriginal() const
{
    return (Ended == leReadError || Ended == leStoppedEarly || Ended == leInvalidText)
        && !OriginalKept;
}

bool TDataFile::TakeFormNotice()
{
    return std::exchange(FormNoticePending, false);
}

bool TDataFile::TakeNotice()
{
    if (NoticeTaken || !KeepsOriginal())
        return false;
    NoticeTaken = true;
    return true;
}

std::filesystem::path TDataFile::BackupPathFor(TDateTime now) const
{
    const TCivilDate date = DecodeDate(now);
    const std::filesystem::path file = FollowLinks(FilePath);
    for (int n = 1;; ++n) {
        char suffix[48];
        if (n == 1)
            std::snprintf(
                suffix, sizeof suffix, ".%04d-%02d-%02d.bak", date.Year, date.Month, date.Day);
        else
            std::snprintf(suffix, sizeof suffix, ".%04d-%02d-%02d-%d.bak", date.Year, date.Month,
                date.Day, n);
        std::filesystem::path backup = file;
        backup += suffix;
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(backup, error)))
            return backup;
    }
}

TDataFile::TSaveResult TDataFile::Save(std::string_view content, TDateTime now)
{
    errno = 0;
    const TSaveResult result = Write(content, now);
    FSaveError = result == srSaved ? 0 : errno;
    return result;
}

TDataFile::TSaveResult TDataFile::Write(std::string_view content, TDateTime now)
{
    const std::filesystem::path file = FollowLinks(FilePath);
    struct stat info {
    };
    const bool exists = ::stat(file.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode))
        return srFailed;
    if (exists && IsReadOnly(file, info))
        return srReadOnly;
    if (KeepsOriginal()) {
        std::string original;
        const std::filesystem::path backup = BackupPathFor(now);
        if (exists && !(ReadWholeFile(file, original) && WriteFileAtomically(backup, original)))
            return srNoBackup;
        if (exists)
            Backup = backup;
        OriginalKept = true;
    }
    if (exists && info.st_nlink > 1) {
        if (!RewriteInPlace(file, content))
            return srFailed;
    } else {
        if (!WriteFileAtomically(file, content))
            return srFailed;
        // A copy left by a rewrite that was never finished is older than this.
        RemoveJournal(RewriteJournalFor(file));
    }
    const TTextForm form = StartsWithUtf8Mark(content) ? tfUtf8 : tfAnsi;
    FormNoticePending = FormNoticePending || (form == tfUtf8 && TextForm == tfAnsi);
    TextForm = form;
    return srSaved;
}

bool TDataFile::Holds(std::string_view content) const
{
    if (KeepsOriginal())
        return false;
    TFileComparison comparison(FilePath);
    return comparison.Next(content) && comparison.Same();
}

TFileComparison::TFileComparison(const std::filesystem::path& path)
    : Fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
{
    struct stat info {
    };
    Matching = Fd >= 0 && ::fstat(Fd, &info) == 0 && S_ISREG(info.st_mode);
}

TFileComparison::~TFileComparison()
{
    if (Fd >= 0)
        ::close(Fd);
}

bool TFileComparison::Next(std::string_view piece)
{
    while (Matching && !piece.empty()) {
        // Read in the piece's own size: the same buffer serves every piece.
        Buffer.resize(std::max(Buffer.size(), piece.size()));
        const ssize_t got = ::read(Fd, Buffer.data(), piece.size());
        if (got < 0 && errno == EINTR)
            continue;
        const auto n = static_cast<size_t>(got);
        Matching = got > 0 && piece.compare(0, n, Buffer.data(), n) == 0;
        piece.remove_prefix(Matching ? n : piece.size());
    }
    return Matching;
}

bool TFileComparison::Same()
{
    char extra = 0;
    ssize_t got = 0;
    while (Matching && (got = ::read(Fd, &extra, 1)) < 0 && errno == EINTR) { }
    Matching = Matching && got == 0;
    return Matching;
}

TDataFile::TSaveResult SaveDataText(
    std::string_view text, TDataFile& file, TIoError& ioError, TDateTime now)
{
    ioError.ResetIoError();
    return file.Save(text, now);
}
