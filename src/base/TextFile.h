#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Whole-file input and output for the data files: one read, one write.

// Reads the whole file into `content`. False when it is not a plain file, cannot
// be opened or a read fails; `content` then holds what was read before the failure.
bool ReadWholeFile(const std::filesystem::path& path, std::string& content);

// Writes `content` to "<target>.tmp" beside the target, flushes it to the disk
// and only then renames it over the target, so the target is either the old
// file or the complete new one. On failure the target is untouched, the
// temporary file is removed and false is returned.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view content);

// Appends `content` to the file, creating it when it is missing.
bool AppendToFile(const std::filesystem::path& path, std::string_view content);

// The temporary name that WriteFileAtomically writes first.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);
