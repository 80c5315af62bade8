#include "platform/DataFolder.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

std::filesystem::path TDataFolder::Open(QString& error)
{
    QString folder = qEnvironmentVariable(EnvironmentName);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // A relative name is taken from where the program started, once.
    folder = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    error.clear();
    if (!QDir().mkpath(folder))
        error = u"The data folder \"%1\" could not be created."_s.arg(folder);
    return std::filesystem::path(folder.toStdU16String());
}

std::filesystem::path TDataFolder::RecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + u"/.local/state"_s;
    return std::filesystem::path((state + u"/Talvo95/recovered"_s).toStdU16String());
}
