#pragma once

#include <QString>
#include <filesystem>

// The folder that holds "DIARY.DAT", "NOTES.DAT" and "DiaryOld.txt", whatever
// the working folder is: the one named by TALVO95_DATA_DIR, or else the
// user's application data folder (~/.local/share/Quorral/Talvo95 on Linux).
// Needs the application's organisation and name to be set.
class TDataFolder
{
public:
    static constexpr const char* EnvironmentName = "TALVO95_DATA_DIR";

    // The folder as an absolute path, created when missing; `error` tells why
    // it could not be created (then the saves report it too).
    static std::filesystem::path Open(QString& error);
    // Where emergency copies of unsaved data go:
    // $XDG_STATE_HOME/Talvo95/recovered (~/.local/state/Talvo95/recovered).
    static std::filesystem::path RecoveryFolder();
};
