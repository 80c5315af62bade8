#include "session/RecoveryFolder.h"

#include "base/TextFile.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <utility>

TRecoveryFolder::TRecoveryFolder(std::filesystem::path folder)
    : FFolder(std::move(folder))
{
}

std::filesystem::path TRecoveryFolder::ListPath() const
{
    return FFolder / "TOLD-AT-START.txt";
}

std::optional<std::vector<std::filesystem::path>> TRecoveryFolder::Keep(
    const std::vector<TSaveFailure>& failures, TDateTime now)
{
    std::error_code error;
    if (FFolder.empty())
        return std::nullopt;
    std::filesystem::create_directories(FFolder, error);
    if (error)
        return std::nullopt;
    ::chmod(FFolder.c_str(), 0700);
    const TCivilDate date = DecodeDate(now);
    const TCivilTime time = DecodeTime(now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, ".%04d-%02d-%02d-%02d%02d%02d", date.Year, date.Month,
        date.Day, time.Hour, time.Minute, time.Second);
    std::vector<std::filesystem::path> kept;
    std::string list;
    for (const TSaveFailure& failure : failures) {
        std::filesystem::path copy = FFolder / failure.Path.filename();
        copy += stamp;
        // A second failure within the same second keeps the first copy too.
        for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(copy, error)); ++n)
            copy.replace_filename(
                failure.Path.filename().string() + stamp + "-" + std::to_string(n));
        if (!WriteFileAtomically(copy, failure.Text))
            return std::nullopt;
        kept.push_back(copy);
        list += copy.string() + "\n";
    }
    if (!AppendToFile(ListPath(), list))
        return std::nullopt;
    return kept;
}

std::vector<std::filesystem::path> TRecoveryFolder::TakeNotice()
{
    std::string list;
    std::vector<std::filesystem::path> copies;
    if (FFolder.empty() || !ReadWholeFile(ListPath(), list))
        return copies;
    size_t start = 0;
    for (size_t end; (end = list.find('\n', start)) != std::string::npos; start = end + 1)
        if (end > start)
            copies.emplace_back(list.substr(start, end - start));
    std::error_code error;
    std::filesystem::remove(ListPath(), error);
    return copies;
}
