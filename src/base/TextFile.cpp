#include "base/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// What ReadWholeFile reads at once.
constexpr size_t ReadPieceSize = 64 * 1024;

// Closes the descriptor when the scope ends, unless it was closed already.
class TFileHandle
{
public:
    explicit TFileHandle(int fd)
        : Fd(fd)
    {
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    ~TFileHandle()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
    int Get() const { return Fd; }
    bool Close()
    {
        const int fd = Fd;
        Fd = -1;
        return ::close(fd) == 0;
    }

private:
    int Fd;
};

bool WriteAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

} // namespace

void SyncFolderOf(const std::filesystem::path& target)
{
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    TFileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

ssize_t SystemRead(int fd, void* buffer, size_t size)
{
    return ::read(fd, buffer, size);
}

bool ReadFileInPieces(const std::filesystem::path& path, std::span<char> buffer,
    const std::function<void(std::string_view)>& piece, TReadCall readCall)
{
    // A read into no room would look like the file's end.
    if (buffer.empty())
        return false;
    // Not blocking on the open, and only plain files: a pipe or a device in the
    // file's place would stall or never end.
    TFileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0)
        return false;
    struct stat info {
    };
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    for (;;) {
        const ssize_t got = readCall(file.Get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        piece({ buffer.data(), static_cast<size_t>(got) });
    }
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& content, TReadCall readCall)
{
    content.clear();
    // Sized from the file and filled by appends: a string made to the size
    // first would clear every byte that the read then overwrites. The file's
    // size is only a guess, the read goes on until the end.
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (!error)
        content.reserve(static_cast<size_t>(size));
    const auto buffer = std::make_unique_for_overwrite<char[]>(ReadPieceSize);
    return ReadFileInPieces(
        path, { buffer.get(), ReadPieceSize },
        [&content](std::string_view piece) { content += piece; }, readCall);
}

std::filesystem::path TemporaryPathFor(const std::filesystem::path& target)
{
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    return temporary;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view content)
{
    const std::filesystem::path temporary = TemporaryPathFor(target);
    TFileHandle file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.Get() < 0)
        return false;
    // The new file keeps the access rights of the one it replaces.
    struct stat old {
    };
    if (::stat(target.c_str(), &old) == 0)
        ::fchmod(file.Get(), old.st_mode & 07777);
    const bool written = WriteAll(file.Get(), content) && ::fsync(file.Get()) == 0;
    const bool closed = file.Close();
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolderOf(target);
    return true;
}

bool AppendToFile(const std::filesystem::path& path, std::string_view content)
{
    TFileHandle file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (file.Get() < 0)
        return false;
    const bool written = WriteAll(file.Get(), content);
    return file.Close() && written;
}
