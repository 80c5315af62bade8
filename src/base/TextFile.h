#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>

// Input and output for the data files: a file read whole or in pieces, written
// whole.

// The call that reads a file's bytes: the system's, or a test's that fails.
using TReadCall = ssize_t (*)(int fd, void* buffer, size_t size);
ssize_t SystemRead(int fd, void* buffer, size_t size);

// Reads the file piece by piece into `buffer`, each piece handed to `piece` as
// it comes. Only a plain file is read, and the open never blocks (a pipe or a
// device in the file's place would stall or never end). False when the file
// is not a plain one, cannot be opened or a read fails (or the buffer is
// empty); the pieces handed before the failure are what was read.
bool ReadFileInPieces(const std::filesystem::path& path, std::span<char> buffer,
    const std::function<void(std::string_view)>& piece, TReadCall readCall = SystemRead);

// Reads the whole file into `content`, by the same rules; on failure `content`
// holds what was read before it.
bool ReadWholeFile(
    const std::filesystem::path& path, std::string& content, TReadCall readCall = SystemRead);

// Writes `content` to "<target>.tmp" beside the target, flushes it to the disk
// and only then renames it over the target, so the target is either the old
// file or the complete new one. On failure the target is untouched, the
// temporary file is removed and false is returned.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view content);

// Makes a rename or removal in the folder of `target` durable. A folder that
// cannot be synced is no failure: the files in it are complete by then.
void SyncFolderOf(const std::filesystem::path& target);

// Appends `content` to the file, creating it when it is missing.
bool AppendToFile(const std::filesystem::path& path, std::string_view content);

// The temporary name that WriteFileAtomically writes first.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);
