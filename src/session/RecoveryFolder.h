#pragma once

#include "base/DateTime.h"
#include "session/DataSession.h"

#include <filesystem>
#include <optional>
#include <vector>

// Emergency copies of what a save could not write, kept when the program must
// end at once (a logout, a signal) and the data files cannot take the save:
// each text goes to "<file name>.<yyyy-mm-dd-hhmmss>" in the folder, and a
// list of the copies waits there ("TOLD-AT-START.txt") until the next start
// tells the user where they are.
class TRecoveryFolder
{
public:
    explicit TRecoveryFolder(std::filesystem::path folder);

    const std::filesystem::path& Folder() const { return FFolder; }

    // Writes each failure's text, making the folder (private to the user) when
    // it is missing. The copies written; nothing when any could not be written.
    std::optional<std::vector<std::filesystem::path>> Keep(
        const std::vector<TSaveFailure>& failures, TDateTime now);
    // The copies kept since the user was last told; the list is then removed,
    // so each copy is told of once.
    std::vector<std::filesystem::path> TakeNotice();

private:
    std::filesystem::path ListPath() const;

    std::filesystem::path FFolder;
};
